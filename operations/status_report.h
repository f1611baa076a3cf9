#pragma once
// The operational status queries ConsultarStatusOperacional and ConsultarStatusOperacionalMFE:
// their analysis, call text and arguments (the same for both), and the operational status report.

#include "core/arguments.h"
#include "core/call_text.h"
#include "core/catalogue.h"
#include "core/execution.h"

#include <string>
#include <string_view>

namespace operations {

// What the page's controls hold, as typed.
struct StatusInputs {
    std::string codigo; // the activation code edit
};

// "Analisar": the activation-code findings; empty means the analysis is OK.
core::Lines analyse(const StatusInputs& inputs);

// "Mostrar": operation name + "(" + session number + "," + trimmed code + ")".
std::string statusCallText(const core::Operation& operation, std::string_view sessionNumber,
                           const StatusInputs& inputs);

// What "Executar" sends: numeroSessao as the integer its six digits denote (shown as the six
// digits) and codigoDeAtivacao trimmed.
core::Arguments statusArguments(std::string_view sessionNumber, const StatusInputs& inputs);

// "Mostrar" of either status page: its call text and arguments.
core::PreparedCall statusCall(const core::Operation& operation, std::string_view sessionNumber,
                              const StatusInputs& inputs);

// The lines written after the raw answer line of ConsultarStatusOperacional: nothing unless the
// answer code is the success code, then an empty line, the heading, one line per field from 5
// on, and a closing line. A field 27 that is not a number ends the report there, without the
// closing line.
core::Lines statusReport(std::string_view answer);

} // namespace operations
