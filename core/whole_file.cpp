#include "core/whole_file.h"

#include "core/disk_sync.h"
#include "core/path_text.h"
#include "core/processes.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <system_error>

namespace core {
namespace {

constexpr std::string_view temporarySuffix = ".tmp";
// The process id in a temporary name of `target`'s: nullopt when the name is not one.
std::optional<std::uint32_t> writerOf(std::string_view name, std::string_view target) {
    if (name.size() <= target.size() + 1 + temporarySuffix.size() || !name.starts_with(target) ||
        name[target.size()] != '.' || !name.ends_with(temporarySuffix))
        return std::nullopt;
    name = name.substr(target.size() + 1, name.size() - target.size() - 1 - temporarySuffix.size());
    const std::size_t dot = name.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot + 1 == name.size() ||
        name.find_first_not_of("0123456789", dot + 1) != std::string_view::npos)
        return std::nullopt;
    std::uint32_t id = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + dot, id);
    if (ec != std::errc{} || end != name.data() + dot)
        return std::nullopt;
    return id;
}

// Removes what writers of `target` killed before their rename left in its folder. A temporary
// of a running writer stays: that writer is still at work.
void removeStaleTemporaries(const std::filesystem::path& target) {
    std::error_code ec;
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (isStaleTemporaryOf(it->path(), target)) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

} // namespace

std::filesystem::path temporaryFileFor(const std::filesystem::path& target) {
    std::filesystem::path temporary = target;
    temporary += "." + std::to_string(currentProcessId()) + "." +
                 std::to_string(currentThreadId()) + std::string(temporarySuffix);
    return temporary;
}

bool isStaleTemporaryOf(const std::filesystem::path& file, const std::filesystem::path& target) {
    const auto writer = writerOf(utf8FromPath(file.filename()), utf8FromPath(target.filename()));
    return writer && *writer != currentProcessId() && !processRunning(*writer);
}

bool writeFileWhole(const std::filesystem::path& target, std::string_view bytes, std::string& error,
                    FlushToDisk flush) {
    const std::filesystem::path temporary = temporaryFileFor(target);
    {
        errno = 0;
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out)
            out.write(bytes.data(), std::streamsize(bytes.size()));
        if (out)
            out.close();
        if (!out || (flush == FlushToDisk::Yes && !core::syncToDisk(temporary))) {
            // The system's reason as detail; the temporary's name means nothing to the user.
            const int cause = errno;
            error = "os dados não puderam ser escritos na pasta";
            if (cause != 0)
                error += " (" + std::error_code(cause, std::generic_category()).message() + ")";
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        error = "o arquivo não pôde tomar o lugar do anterior (" + ec.message() + ")";
        std::filesystem::remove(temporary, ec);
        return false;
    }
    removeStaleTemporaries(target);
    return true;
}

std::optional<std::string> readFileWithin(const std::filesystem::path& file, std::size_t limit,
                                          std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "Não foi possível abrir o arquivo.";
        return std::nullopt;
    }
    // One read when the file is as long as it says; never more than one byte over the limit.
    std::error_code ec;
    const std::uintmax_t expected = std::filesystem::file_size(file, ec);
    std::size_t chunk =
        ec ? std::size_t{65536}
           : static_cast<std::size_t>(std::min<std::uintmax_t>(expected, limit)) + 1;
    std::string bytes;
    while (in) {
        const std::size_t have = bytes.size();
        const std::size_t room = limit - have;
        if (room < chunk)
            chunk = room + 1;
        bytes.resize(have + chunk);
        in.read(bytes.data() + have, static_cast<std::streamsize>(chunk));
        bytes.resize(have + static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > limit) {
            error = "O arquivo excede o limite de " + std::to_string(limit) + " bytes.";
            return std::nullopt;
        }
        chunk = 65536;
    }
    if (in.bad()) {
        error = "Não foi possível ler o arquivo.";
        return std::nullopt;
    }
    return bytes;
}

} // namespace core
