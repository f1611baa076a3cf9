#pragma once
// A receipt from the files the workbench saved (the issued CF-e and, for a cancellation's
// receipt, the issued CFeCanc), or from those documents already at hand (taken from a call's
// recorded answer).

#include "receipt/receipt_lines.h"

#include <filesystem>
#include <optional>
#include <string>

namespace receipt {

struct ReceiptFiles {
    std::filesystem::path cfe;
    std::optional<std::filesystem::path> cancellation;
};

// The receipt, or a message naming the file that is missing, unreadable or not the document
// expected (and a cancellation whose sale is another CF-e). `variant` applies to a sale's
// receipt only.
struct BuiltReceipt {
    std::optional<Receipt> receipt;
    std::string error;
};
BuiltReceipt receiptFromFiles(const ReceiptFiles& files, Paper paper, Variant variant);

// A document's bytes and where they came from (a file's path, or a recorded answer), for the
// messages.
struct ReceiptDocument {
    std::string bytes;
    std::string origin;
};
struct ReceiptDocuments {
    ReceiptDocument cfe;
    std::optional<ReceiptDocument> cancellation;
};
BuiltReceipt receiptFromDocuments(const ReceiptDocuments& documents, Paper paper, Variant variant);

} // namespace receipt
