#pragma once
// tarvik gerar-cancelamento: the cancellation request (CFeCanc) of an issued CF-e written into
// the program's Para_Cancelar folder, as "Gerar XML para Cancelamento" of the sale page writes it.

#include "cli/output.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace cli {

inline constexpr std::string_view gerarCancelamentoCommand = "gerar-cancelamento";

// Writes Para_Cancelar/C_<name of the sale> (the --cfe file's name without Resp_, as the sale page
// names it) for the layout of --layout, prints the page's
// message and the file written (--json: file, key, layout), and returns 0, or 2 when the command
// line is wrong or the file cannot be written.
int runGerarCancelamento(const Output& o, std::span<const std::string> args,
                         const std::filesystem::path& programFolder);

// The help, naming the folder the request goes to.
void printGerarCancelamentoHelp(std::ostream& out, const std::filesystem::path& programFolder);

} // namespace cli
