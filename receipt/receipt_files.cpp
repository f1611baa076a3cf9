#include "receipt/receipt_files.h"

#include "core/path_text.h"
#include "core/whole_file.h"
#include "xml/xml_security.h"

namespace receipt {
namespace {

// The file's bytes, or nothing with an error that names the file.
std::optional<ReceiptDocument> readDocument(const std::filesystem::path& file, std::string& error) {
    const std::string name = core::utf8FromPath(file);
    auto bytes = core::readFileWithin(file, xml::kMaxXmlBytes, error);
    if (!bytes) {
        error = name + ": " + error;
        return std::nullopt;
    }
    return ReceiptDocument{std::move(*bytes), name};
}

template <class Document, class Reader>
std::optional<Document> readDocument(const ReceiptDocument& document, Reader reader,
                                     std::string& error) {
    Read<Document> read = reader(document.bytes);
    if (!read.document)
        error = document.origin + ": " + read.error;
    return std::move(read.document);
}

} // namespace

BuiltReceipt receiptFromFiles(const ReceiptFiles& files, Paper paper, Variant variant) {
    BuiltReceipt built;
    ReceiptDocuments documents;
    auto cfe = readDocument(files.cfe, built.error);
    if (!cfe)
        return built;
    documents.cfe = std::move(*cfe);
    if (files.cancellation) {
        documents.cancellation = readDocument(*files.cancellation, built.error);
        if (!documents.cancellation)
            return built;
    }
    return receiptFromDocuments(documents, paper, variant);
}

BuiltReceipt receiptFromDocuments(const ReceiptDocuments& documents, Paper paper, Variant variant) {
    BuiltReceipt built;
    const auto sale = readDocument<SaleDocument>(documents.cfe, readSale, built.error);
    if (!sale)
        return built;
    if (!documents.cancellation) {
        built.receipt = saleReceipt(*sale, paper, variant);
        return built;
    }
    const auto cancellation =
        readDocument<CancellationDocument>(*documents.cancellation, readCancellation, built.error);
    if (!cancellation)
        return built;
    built.error = saleMismatch(*cancellation, *sale);
    if (built.error.empty())
        built.receipt = cancellationReceipt(*cancellation, *sale, paper);
    return built;
}

} // namespace receipt
