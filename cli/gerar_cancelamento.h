#pragma once
// tarvik gerar-cancelamento: the cancellation request (CFeCanc) of an issued CF-e written into
// Para_Cancelar beside the program, as "Gerar XML para Cancelamento" of the sale page writes it.

#include "cli/output.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace cli {

inline constexpr std::string_view gerarCancelamentoCommand = "gerar-cancelamento";

// Writes Para_Cancelar/C_<name of the --cfe file> for the layout of --layout, prints the page's
// message and the file written (--json: file, key, layout), and returns 0, or 2 when the command
// line is wrong or the file cannot be written.
int runGerarCancelamento(const Output& o, std::span<const std::string> args,
                         const std::filesystem::path& programFolder);

void printGerarCancelamentoHelp(std::ostream& out);

} // namespace cli
