#include "receipt/chosen_document.h"

#include "core/path_text.h"
#include "core/whole_file.h"
#include "xml/xml_security.h"

#include <algorithm>

namespace receipt {
namespace {

// A folder with more files than this is not searched whole: the user is asked instead.
constexpr std::size_t maxCandidates = 500;

bool isXmlName(const std::filesystem::path& path) {
    std::string extension = core::utf8FromPath(path.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return extension == ".xml";
}

} // namespace

ChosenDocument chosenDocument(const std::filesystem::path& file) {
    ChosenDocument chosen;
    const std::string name = core::utf8FromPath(file);
    auto bytes = core::readFileWithin(file, xml::kMaxXmlBytes, chosen.error);
    if (!bytes) {
        chosen.error = name + ": " + chosen.error;
        return chosen;
    }
    const Read<SaleDocument> sale = readSale(*bytes);
    const Read<CancellationDocument> cancellation = readCancellation(*bytes);
    if (sale.document || cancellation.document) {
        chosen.cancellation = cancellation.document.has_value();
        chosen.document = ReceiptDocument{std::move(*bytes), name};
        return chosen;
    }
    // A CFeCanc that cannot be printed says why as a cancellation, anything else as a sale.
    const bool isCancellation = sale.error.find("(elemento raiz CFeCanc)") != std::string::npos;
    chosen.error = name + ": " + (isCancellation ? cancellation.error : sale.error);
    return chosen;
}

std::vector<std::filesystem::path> xmlFilesBeside(const std::filesystem::path& file) {
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    std::filesystem::directory_iterator entries(file.parent_path(), ec);
    for (; !ec && entries != std::filesystem::directory_iterator(); entries.increment(ec)) {
        const std::filesystem::path& path = entries->path();
        if (!isXmlName(path) || path.filename() == file.filename() || !entries->is_regular_file(ec))
            continue;
        found.push_back(path);
        if (found.size() == maxCandidates)
            break;
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace receipt
