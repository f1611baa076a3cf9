#pragma once
// tarvik validar: a document checked against the XSD schema of a layout, as the pages' "Validar
// xml" buttons check it.

#include "cli/command_line.h"
#include "cli/output.h"
#include "documents/validate_buttons.h"
#include "settings/program_folders.h"

#include <filesystem>
#include <span>
#include <string>

namespace cli {

// The command word.
inline constexpr std::string_view validarCommand = "validar";

// Validates the FILE of `args` as a CF-e (--cfe, the sale page's button) or a cancellation
// (--canc, the cancellation page's button) against the schema in the program's Schemas/ folder,
// prints the lines the page's command box gets, and returns 0 when the document is valid, 1 when
// it has findings and 2 when it or its schema cannot be used.
int runValidar(const Output& o, std::span<const std::string> args,
               const settings::ProgramFolders& folders);

// The help, naming the folder the schemas are looked for in.
void printValidarHelp(std::ostream& out, const settings::ProgramFolders& folders);

// Throws UsageError when the line has an option that calls the module (--dll, --integrador,
// --espera, --analisar): `command` works on files alone.
void refuseModuleOptions(const CommandLine& line, std::string_view command);

// The layout --layout names, 0.07 when it is not given; UsageError for any other name.
documents::Layout chosenLayout(const CommandLine& line);

} // namespace cli
