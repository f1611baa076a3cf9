#include "documents/returned_document.h"

#include "core/base64.h"
#include "core/path_text.h"
#include "core/whole_file.h"
#include "documents/document_file.h"

#include <algorithm>

namespace documents {

std::optional<DocumentLines> decodeReturnedDocument(std::string_view base64) {
    const auto bytes = core::decodeBase64Lenient(base64);
    if (!bytes)
        return std::nullopt;
    return splitByteLines(*bytes);
}

std::string savedForm(const DocumentLines& lines) {
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

std::filesystem::path retornosFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& fileName) {
    return programFolder / "Retornos" / fileName;
}

bool saveReturnedDocument(const std::filesystem::path& target, const DocumentLines& lines,
                          std::string& error) {
    const std::string shownName = core::utf8FromPath(target);
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec) {
        error = "Não foi possível criar a pasta " + core::utf8FromPath(target.parent_path()) +
                ": " + ec.message();
        return false;
    }
    std::string detail;
    if (!core::writeFileWhole(target, savedForm(lines), detail)) {
        error = "Não foi possível salvar " + shownName + " (" + detail + ")";
        return false;
    }
    return true;
}

} // namespace documents
