#pragma once
// A receipt from the files the workbench saved: the issued CF-e and, for a cancellation's
// receipt, the issued CFeCanc.

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

} // namespace receipt
