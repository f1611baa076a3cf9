#include "access/answer_reader.h"

#include "access/integrador_answer.h"
#include "core/path_text.h"
#include "core/text.h"
#include "core/whole_file.h"
#include "xml/xml_security.h"

#include <algorithm>
#include <stdexcept>

namespace backend {
namespace {

namespace fs = std::filesystem;

bool hasXmlExtension(const fs::path& file) {
    std::string extension = core::utf8FromPath(file.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == ".xml";
}

// The ".xml" files of the folder in the order the file system lists them; none when the folder
// is missing or cannot be listed.
std::vector<fs::directory_entry> answerFiles(const fs::path& folder) {
    std::vector<fs::directory_entry> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (hasXmlExtension(it->path()) && it->is_regular_file(ec))
            files.push_back(*it);
    return files;
}

std::optional<int> integerOf(const std::string& text) {
    try {
        return core::toInt(text);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

// When the file last changed, as a point of the steady clock (now at the latest).
AnswerReader::Clock::time_point changedAt(fs::file_time_type modified) {
    const auto age = std::chrono::system_clock::now() - fs::file_time_type::clock::to_sys(modified);
    const auto now = AnswerReader::Clock::now();
    return age > decltype(age)::zero()
               ? now - std::chrono::duration_cast<AnswerReader::Clock::duration>(age)
               : now;
}

} // namespace

AnswerReader::AnswerReader(fs::path output, Clock::time_point deadline,
                           const std::atomic<bool>& cancelled)
    : output_(std::move(output)), deadline_(deadline), cancelled_(cancelled) {}

int AnswerReader::LeRespostaIntegrador(int identifier) {
    if (cancelled_ || Clock::now() >= deadline_)
        return 2;
    for (const auto& entry : answerFiles(output_)) {
        std::error_code ec;
        const auto size = entry.file_size(ec);
        const auto modified = ec ? fs::file_time_type{} : entry.last_write_time(ec);
        if (ec)
            continue; // gone since it was listed
        const std::string name = core::utf8FromPath(entry.path().filename());
        auto known = seen_.find(name);
        if (known != seen_.end() && known->second.size == size &&
            known->second.modified == modified) {
            if (known->second.state == State::Unparsable)
                skipIfSettled(name, known->second);
            continue; // examined and unchanged: the same verdict as before
        }
        if (known != seen_.end() && known->second.state == State::Skipped)
            forgetSkipped(name); // changed since it was given up: judged afresh
        Seen& seen = seen_[name];
        seen = {size, modified, State::Examined, {}, changedAt(modified)};
        if (examine(entry.path(), seen, identifier))
            return 1;
        if (seen.state == State::Unparsable)
            skipIfSettled(name, seen);
    }
    return 0;
}

bool AnswerReader::examine(const fs::path& file, Seen& seen, int identifier) {
    std::string error;
    auto bytes = core::readFileWithin(file, xml::kMaxXmlBytes, error);
    const auto answer = bytes ? parseAnswerFile(*bytes, error) : std::nullopt;
    if (!answer) {
        seen.state = State::Unparsable;
        seen.message = error;
        return false;
    }
    if (integerOf(answer->identificador) != identifier && answer->erro.empty())
        return false; // another request's answer: left for its caller
    if (!answer->erro.empty()) {
        answer_ = answer->erro;
    } else {
        answer_ = answer->retorno;
        answerDocument_ = std::string(withoutByteOrderMark(*bytes));
    }
    if (answer_.empty())
        return false; // taken but empty: left in place, the wait goes on
    std::error_code ignored;
    fs::remove(file, ignored);
    return true;
}

void AnswerReader::skipIfSettled(const std::string& name, Seen& seen) {
    if (Clock::now() - seen.unchangedSince < unparsableGrace)
        return;
    seen.state = State::Skipped;
    skipped_.push_back({name, seen.message});
}

void AnswerReader::forgetSkipped(const std::string& name) {
    std::erase_if(skipped_, [&name](const SkippedFile& file) { return file.name == name; });
}

std::string skippedFilesMessage(const std::vector<SkippedFile>& skipped) {
    if (skipped.empty())
        return {};
    std::string text = "Arquivos de resposta do Integrador ignorados (não são XML válido):";
    for (const auto& file : skipped)
        text += "\n" + file.name + ": " + file.message;
    return text;
}

} // namespace backend
