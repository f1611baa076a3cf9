#pragma once
// A file the user chose to print a receipt from: an issued CF-e (a sale's receipt) or an issued
// CFeCanc (a cancellation's, which also needs the cancelled sale's CF-e).

#include "receipt/receipt_files.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace receipt {

struct ChosenDocument {
    std::optional<ReceiptDocument> document;
    bool cancellation = false;
    std::string error; // naming the file: unreadable, or neither document
};
ChosenDocument chosenDocument(const std::filesystem::path& file);

// The XML files beside `file` (itself and folders left out), by name: where a CFeCanc's sale is
// looked for first, since the workbench saves both in Retornos.
std::vector<std::filesystem::path> xmlFilesBeside(const std::filesystem::path& file);

} // namespace receipt
