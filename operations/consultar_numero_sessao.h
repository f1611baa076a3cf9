#pragma once
// ConsultarNumeroSessao: asks the module for the answer it gave an earlier session.

#include "core/activation_code.h"
#include "core/operation_definition.h"

#include <optional>
#include <string_view>

namespace operations {

inline constexpr core::InputField sessaoField{"sessao", "--sessao", "N",
                                              "sessão a consultar (\"Sessão a Consultar:\")"};

inline constexpr core::InputField consultarNumeroSessaoFields[] = {core::codigoField, sessaoField};

// The integer a typed text stands for: blanks before it, then an optional sign and decimal
// digits, nothing after them, within the 32-bit range; nothing otherwise.
std::optional<int> sessionToQuery(std::string_view typed);

// Findings, in order: the session (empty, or not an integer once trimmed), then the
// activation-code checks.
core::Lines analyseConsultarNumeroSessao(std::string_view codigo, std::string_view sessao);

// The call: the trimmed code and the session as typed, converted to an integer (the call text
// and the request preview show it trimmed). A text that is no integer is shown all the same, and
// the call is unsendable: "'<text>' is not a valid integer value".
core::OperationLogic bindConsultarNumeroSessao(const core::Operation& operation,
                                               const core::Inputs& inputs,
                                               const core::OperationContext& context);

} // namespace operations
