#pragma once
// The receipt as printed lines: every text already placed in the columns of its paper width,
// plus the barcodes and QR codes in their places. The PDF and the window's preview draw these
// lines; nothing about the content is decided while drawing.

#include "receipt/issued_documents.h"

#include <cstddef>
#include <string>
#include <vector>

namespace receipt {

enum class Paper { mm80, mm58 };
enum class Variant { full, summarised }; // "resumido": no item legend and no item lines

struct Columns {
    std::size_t normal;
    std::size_t condensed;
};
Columns columnsOf(Paper paper);

struct PrintLine {
    enum class Kind { text, separator, barcode, qrCode };
    Kind kind = Kind::text;
    // text: the characters from the left margin (empty for a blank line); barcode: the digits;
    // qrCode: the content.
    std::string text;
    bool condensed = false;
    bool bold = false;
    bool italic = false;

    bool operator==(const PrintLine&) const = default;
};

struct Receipt {
    Paper paper = Paper::mm80;
    std::vector<PrintLine> lines;
};

Receipt saleReceipt(const SaleDocument& sale, Paper paper, Variant variant);

// The cancellation's receipt: `sale` is the cancelled sale's CF-e, whose QR code the receipt
// repeats (the CFeCanc does not carry its signature).
Receipt cancellationReceipt(const CancellationDocument& cancellation, const SaleDocument& sale,
                            Paper paper);

// The five fields of the QR code: key|date and time|total|customer document|QR signature.
std::string qrContent(const IssuedCommon& document);

} // namespace receipt
