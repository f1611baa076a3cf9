#pragma once
// Builds a receipt's lines in the columns of its paper, and the blocks the sale's and the
// cancellation's receipts share.

#include "receipt/receipt_lines.h"

#include <string_view>

namespace receipt {

struct Style {
    bool condensed = false;
    bool bold = false;
    bool italic = false;
};

class ReceiptWriter {
public:
    explicit ReceiptWriter(Paper paper) : columns_(columnsOf(paper)) { receipt_.paper = paper; }

    std::size_t columns(Style style) const;
    void left(std::string_view text, Style style = {});
    void centred(std::string_view text, Style style = {});
    void wrapped(std::string_view text, Style style = {});
    void centredWrapped(std::string_view text, Style style = {});
    void labelValue(std::string_view label, std::string_view value, Style style = {});
    void blank();
    void separator();
    void barcode(std::string_view digits);
    void qrCode(std::string_view content);

    Receipt take() { return std::move(receipt_); }

private:
    void add(PrintLine::Kind kind, std::string text, Style style);

    Columns columns_;
    Receipt receipt_;
};

// Whether a document was issued in test condition: environment 2 or the test signAC.
bool inTestCondition(const IssuedCommon& document);

void issuerHeader(ReceiptWriter& w, const Issuer& issuer);
// "Extrato No. ...", the title, `extraTitle` when not empty, and the test banner.
void title(ReceiptWriter& w, const std::string& number, bool testCondition,
           std::string_view extraTitle);
void customerLines(ReceiptWriter& w, const Customer& customer);
// SAT number, date and time, key, barcode(s) and QR code; then the app message when asked.
void footer(ReceiptWriter& w, const IssuedCommon& document, const std::string& date,
            const std::string& time, bool appMessage);

} // namespace receipt
