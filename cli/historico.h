#pragma once
// tarvik historico: the calls the journal kept, newest first, filtered as in the window's
// "Histórico" view; `tarvik historico exportar --saida ZIP` writes them as a support package.

#include "cli/output.h"
#include "settings/program_folders.h"

#include <span>
#include <string>
#include <string_view>

namespace cli {

inline constexpr std::string_view historicoCommand = "historico";

// Lists (or with `exportar` packs) the calls the filters choose. Returns 0, or 2 for a wrong
// line or a journal that cannot be read or a package that cannot be written.
int runHistorico(const Output& o, std::span<const std::string> args,
                 const settings::ProgramFolders& folders);

} // namespace cli
