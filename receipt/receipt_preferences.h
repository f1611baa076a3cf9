#pragma once
// The preview's paper width and "Resumido" as the user last chose them, kept in the INI file's
// [EXTRATO] section (LARGURA=80 or 58, RESUMIDO=0 or 1) so that the next preview opens the same.

#include "receipt/receipt_lines.h"

#include <string>

namespace receipt {

struct ReceiptPreferences {
    Paper paper = Paper::mm80;
    bool summarised = false;

    bool operator==(const ReceiptPreferences&) const = default;
};

// The stored choices; a missing file, key or unknown value leaves that choice at its default.
ReceiptPreferences readReceiptPreferences(const std::string& iniPath);

// False when the INI file cannot be written.
bool writeReceiptPreferences(const std::string& iniPath, const ReceiptPreferences& preferences);

} // namespace receipt
