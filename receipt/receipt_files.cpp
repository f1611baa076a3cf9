#include "receipt/receipt_files.h"

#include "core/path_text.h"
#include "core/whole_file.h"
#include "xml/xml_security.h"

namespace receipt {
namespace {

// The document in `file`, or an error that names the file.
template <class Document, class Reader>
std::optional<Document> readFile(const std::filesystem::path& file, Reader reader,
                                 std::string& error) {
    const std::string name = core::utf8FromPath(file);
    const auto bytes = core::readFileWithin(file, xml::kMaxXmlBytes, error);
    if (!bytes) {
        error = name + ": " + error;
        return std::nullopt;
    }
    Read<Document> read = reader(*bytes);
    if (!read.document)
        error = name + ": " + read.error;
    return std::move(read.document);
}

} // namespace

BuiltReceipt receiptFromFiles(const ReceiptFiles& files, Paper paper, Variant variant) {
    BuiltReceipt built;
    const auto sale = readFile<SaleDocument>(files.cfe, readSale, built.error);
    if (!sale)
        return built;
    if (!files.cancellation) {
        built.receipt = saleReceipt(*sale, paper, variant);
        return built;
    }
    const auto cancellation =
        readFile<CancellationDocument>(*files.cancellation, readCancellation, built.error);
    if (!cancellation)
        return built;
    built.error = saleMismatch(*cancellation, *sale);
    if (built.error.empty())
        built.receipt = cancellationReceipt(*cancellation, *sale, paper);
    return built;
}

} // namespace receipt
