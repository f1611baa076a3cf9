#include "journal/entry_details.h"

#include "core/text.h"
#include "journal/secrets.h"

namespace journal {
namespace {

void section(core::Lines& lines, const std::string& title, const std::string& text) {
    if (text.empty())
        return;
    lines.push_back("");
    lines.push_back("---- " + title + " ----");
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            if (start < text.size())
                lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

} // namespace

core::Lines detailLines(const CallEntry& kept) {
    const CallEntry entry = withEchoedPasswordsMasked(kept);
    core::Lines lines = {
        "Chamada #" + std::to_string(entry.id) + " em " + entry.startLocal + ", " +
            std::to_string(entry.duration.count() / 1000) + " ms",
        "Resultado: " + std::string(outcomeName(entry.outcome)) +
            (entry.answerCode.empty() ? "" : ", código " + entry.answerCode),
        "Acesso: " + entry.accessMode + " " + entry.target + " (" + entry.frontEnd + " " +
            entry.programVersion + ", layout " + entry.layout + ")",
    };
    if (!entry.message.empty())
        lines.push_back("Motivo: " + entry.message);
    section(lines, "Chamada", entry.callText);
    section(lines, "Requisição Integrador", entry.request);
    section(lines, "Resposta", core::decodeUtf8(entry.answer));
    section(lines, "Relatório", entry.report);
    std::string files;
    for (const WrittenFile& file : entry.files)
        files +=
            file.path + "  (SHA-256 " + (file.sha256.empty() ? "ilegível" : file.sha256) + ")\n";
    section(lines, "Arquivos gravados", files);
    return lines;
}

} // namespace journal
