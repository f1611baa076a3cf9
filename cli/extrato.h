#pragma once
// tarvik extrato: the consumer's receipt of an issued CF-e (or of its cancellation) as a PDF.

#include "cli/output.h"

#include <span>
#include <string>
#include <string_view>

namespace cli {

inline constexpr std::string_view extratoCommand = "extrato";

// Writes the PDF of --pdf and prints its name (--json: "files"), returning 0, or 2 when
// the command line is wrong, a file is missing or is not the document expected, or the PDF
// cannot be written.
int runExtrato(const Output& o, std::span<const std::string> args);

void printExtratoHelp(std::ostream& out);

} // namespace cli
