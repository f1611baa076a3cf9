#include "documents/document_file.h"

#include "core/path_text.h"
#include "core/whole_file.h"

#include <filesystem>

namespace documents {

std::vector<std::string> splitByteLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

std::string withLineEndsLfCr(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 32 + 2);
    for (const auto& line : splitByteLines(bytes)) {
        out += line;
        out += "\n\r";
    }
    return out;
}

bool isExistingFile(std::string_view fileName) {
    std::error_code ec;
    return !fileName.empty() && std::filesystem::is_regular_file(core::pathFromUtf8(fileName), ec);
}

DocumentText LeArquivo(std::string_view fileName) {
    const std::string name(fileName);
    if (!isExistingFile(fileName))
        return {{}, "Arquivo: " + name + " não foi encontrado!"};
    std::string error;
    const auto bytes = core::readFileWithin(core::pathFromUtf8(fileName), maxDocumentBytes, error);
    if (!bytes)
        return {{}, "Erro ao tentar acessar o arquivo: " + name};
    return {withLineEndsLfCr(*bytes), {}};
}

} // namespace documents
