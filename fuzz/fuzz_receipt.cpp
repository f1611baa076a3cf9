// The receipt's reader and layout, on any issued CF-e or CFeCanc: what reads as a document lays
// out into lines of UTF-8 no wider than their paper's columns, with the key in its barcodes and
// one QR code per document.

#include "fuzz/fuzz_support.h"
#include "receipt/issued_documents.h"
#include "receipt/receipt_lines.h"
#include "receipt/receipt_text.h"

namespace {

using namespace receipt;

void check(const Receipt& r, std::size_t documents) {
    const Columns columns = columnsOf(r.paper);
    std::size_t qrCodes = 0;
    for (const PrintLine& line : r.lines) {
        if (line.kind == PrintLine::Kind::qrCode)
            ++qrCodes;
        if (line.kind != PrintLine::Kind::text)
            continue;
        fuzz::require(fuzz::isUtf8(line.text), "a printed line is UTF-8", line.text);
        fuzz::require(width(line.text) <= (line.condensed ? columns.condensed : columns.normal),
                      "a printed line fits its paper", line.text);
    }
    fuzz::require(qrCodes == documents, "one QR code per document");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Read<SaleDocument> sale = readSale(bytes);
    const Read<CancellationDocument> cancellation = readCancellation(bytes);
    fuzz::require(!(sale.document && cancellation.document), "one kind of document at most");
    for (Paper paper : {Paper::mm80, Paper::mm58}) {
        if (sale.document) {
            fuzz::require(sale.document->key.size() == 44, "the key has 44 digits");
            for (Variant variant : {Variant::full, Variant::summarised})
                check(saleReceipt(*sale.document, paper, variant), 1);
        }
        if (cancellation.document) {
            SaleDocument cancelled;
            cancelled.key = cancellation.document->saleKey;
            check(cancellationReceipt(*cancellation.document, cancelled, paper), 2);
        }
    }
    return 0;
}
