#include "receipt/cancelled_sale.h"

#include "core/whole_file.h"
#include "receipt/issued_documents.h"
#include "xml/xml_security.h"

namespace receipt {
namespace {

std::optional<std::string> bytesOf(const std::filesystem::path& file) {
    std::string error;
    return core::readFileWithin(file, xml::kMaxXmlBytes, error);
}

} // namespace

std::optional<std::filesystem::path>
cancelledSaleFile(const std::filesystem::path& cancellationFile,
                  const std::vector<std::filesystem::path>& candidates) {
    const auto cancellationBytes = bytesOf(cancellationFile);
    if (!cancellationBytes)
        return std::nullopt;
    const auto cancellation = readCancellation(*cancellationBytes);
    if (!cancellation.document)
        return std::nullopt;
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(candidate, ec))
            continue;
        const auto bytes = bytesOf(candidate);
        const auto sale = bytes ? readSale(*bytes) : Read<SaleDocument>{};
        if (sale.document && saleMismatch(*cancellation.document, *sale.document).empty())
            return candidate;
    }
    return std::nullopt;
}

} // namespace receipt
