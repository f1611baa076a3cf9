#include "journal/support_package.h"

#include "core/answer_cuts.h"
#include "core/path_text.h"
#include "core/status_fields.h"
#include "core/text.h"
#include "journal/entry_json.h"
#include "journal/secrets.h"
#include "journal/sha256.h"

#include <nlohmann/json.hpp>
#include <zip.h>

#include <deque>
#include <set>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/utsname.h>
#include <unistd.h>
#endif

namespace journal {
namespace {

constexpr std::string_view statusOperation = "ConsultarStatusOperacional";
constexpr std::string_view statusSuccess = "10000";
constexpr std::size_t serialField = 5;
constexpr std::size_t stateField = 27;

// Entries extract readable and writable by their owner alone: a regular file, mode 0600, in the
// high half of the external attributes as Unix zips store it.
constexpr zip_uint32_t ownerOnlyEntry = 0100600u << 16;

// The package holds the calls the journal keeps for its owner alone, so it is created anew with
// the owner's permissions only before anything is written: libzip writes its temporary file with
// the mode of the file it replaces. On Windows a new file takes the access list of its folder.
void createPrivate(const std::filesystem::path& file) {
#ifndef _WIN32
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    const int fd = ::open(file.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::runtime_error("não foi possível criar " + core::utf8FromPath(file) + ": " +
                                 std::strerror(errno));
    ::close(fd);
#else
    (void)file;
#endif
}

// A zip being written. libzip reads each added buffer only when the archive is closed, so the
// buffers are kept until then.
class ZipWriter {
public:
    explicit ZipWriter(const std::filesystem::path& file) : file_(file) {
        createPrivate(file);
        int error = 0;
        archive_ = zip_open(core::utf8FromPath(file).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (!archive_) {
            zip_error_t detail;
            zip_error_init_with_code(&detail, error);
            const std::string message = zip_error_strerror(&detail);
            zip_error_fini(&detail);
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            throw std::runtime_error("não foi possível criar " + core::utf8FromPath(file) + ": " +
                                     message);
        }
    }
    ~ZipWriter() {
        if (archive_) {
            zip_discard(archive_);
            // A package that could not be finished leaves no empty file behind.
            std::error_code ignored;
            std::filesystem::remove(file_, ignored);
        }
    }
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    void add(const std::string& name, std::string bytes) {
        const std::string& kept = buffers_.emplace_back(std::move(bytes));
        zip_source_t* source = zip_source_buffer(archive_, kept.data(), kept.size(), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive_, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            fail();
        }
        if (zip_file_set_external_attributes(archive_, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             ownerOnlyEntry) != 0)
            fail();
    }

    void close() {
        if (zip_close(archive_) != 0)
            fail();
        archive_ = nullptr;
    }

private:
    [[noreturn]] void fail() {
        // libzip's text as detail: it names no temporary file.
        throw std::runtime_error(std::string("o pacote de suporte não pôde ser escrito (") +
                                 zip_strerror(archive_) + ")");
    }

    std::filesystem::path file_;
    zip_t* archive_ = nullptr;
    std::deque<std::string> buffers_;
};

nlohmann::ordered_json moduleSeen(Journal& journal) {
    Filter lastStatus;
    lastStatus.operation = std::string(statusOperation);
    lastStatus.answerCode = std::string(statusSuccess);
    lastStatus.limit = 1;
    const std::vector<CallEntry> found = journal.find(lastStatus);
    if (found.empty())
        return nullptr;
    const std::vector<std::string> fields = core::fieldList(found.front().answer);
    auto field = [&fields](std::size_t n) {
        return n < fields.size() ? core::decodeUtf8(fields[n]) : std::string();
    };
    // In words, as the status report shows it; a field that is not a number as it came.
    const std::string state =
        stateField < fields.size()
            ? core::operationStateName(fields[stateField]).value_or(field(stateField))
            : std::string();
    return {{"serial_number", field(serialField)},
            {"operation_state", state},
            {"seen_at", found.front().startLocal}};
}

nlohmann::ordered_json summary(Journal& journal, const std::vector<CallEntry>& calls,
                               const PackageContents& contents) {
    std::set<std::string> targets, versions;
    for (const CallEntry& call : calls) {
        targets.insert(call.accessMode + " " + call.target);
        versions.insert(call.programVersion);
    }
    nlohmann::ordered_json j;
    j["program_version"] = TARVIK_VERSION;
    j["versions_in_calls"] = versions;
    j["operating_system"] = operatingSystem();
    j["access"] = targets;
    j["module"] = moduleSeen(journal);
    j["calls"] = contents.calls;
    j["files"] = contents.files;
    j["files_left_out"] = contents.leftOut;
    return j;
}

} // namespace

std::string operatingSystem() {
#ifdef _WIN32
    // GetVersionEx reports what the program's manifest allows; the build number is enough to
    // tell the help desk which Windows it is.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
    return "Windows " + std::to_string(info.dwMajorVersion) + "." +
           std::to_string(info.dwMinorVersion) + " build " + std::to_string(info.dwBuildNumber);
#else
    utsname name{};
    if (uname(&name) != 0)
        return "desconhecido";
    return std::string(name.sysname) + " " + name.release + " " + name.version + " " + name.machine;
#endif
}

PackageContents writeSupportPackage(Journal& journal, const std::vector<CallEntry>& calls,
                                    const std::filesystem::path& zipFile) {
    ZipWriter zip(zipFile);
    PackageContents contents;
    std::string lines;
    for (const CallEntry& call : calls) {
        nlohmann::ordered_json line = toJson(withEchoedPasswordsMasked(call));
        for (std::size_t i = 0; i < call.files.size(); ++i) {
            const WrittenFile& file = call.files[i];
            nlohmann::ordered_json& shown = line["files"][i];
            const auto bytes = fileBytes(core::pathFromUtf8(file.path));
            std::string why;
            if (!bytes)
                why = "não existe mais";
            else if (sha256Hex(*bytes) != file.sha256)
                why = "mudou depois da chamada";
            if (!why.empty()) {
                contents.leftOut.push_back(file.path + ": " + why);
                shown["in_package"] = nullptr;
                continue;
            }
            const std::string name = "arquivos/" + std::to_string(call.id) + "/" +
                                     core::utf8FromPath(core::pathFromUtf8(file.path).filename());
            // A copy holding a network configuration goes with its passwords masked; the digest
            // stays the one of the file as written, so the copy says it differs.
            std::string copy = masked(*bytes, {});
            if (copy != *bytes)
                shown["passwords_masked"] = true;
            zip.add(name, std::move(copy));
            shown["in_package"] = name;
            ++contents.files;
        }
        lines += line.dump() + "\n";
        ++contents.calls;
    }
    zip.add("chamadas.jsonl", lines);
    zip.add("resumo.json", summary(journal, calls, contents).dump(2) + "\n");
    zip.close();
    return contents;
}

} // namespace journal
