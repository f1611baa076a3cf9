#pragma once
// The operational status queries ConsultarStatusOperacional and ConsultarStatusOperacionalMFE:
// their analysis, call text and arguments (the same for both), and the operational status report.

#include "core/activation_code.h"
#include "core/operation_definition.h"

#include <string>
#include <string_view>

namespace operations {

// The two status queries take the activation code alone.
inline constexpr core::InputField statusFields[] = {core::codigoField};

// Pages 5 and 15: the activation-code analysis; the call with the trimmed code; each page its
// own report.
core::OperationLogic bindStatus(const core::Operation& operation, const core::Inputs& inputs,
                                const core::OperationContext& context);
core::OperationLogic bindExtendedStatus(const core::Operation& operation,
                                        const core::Inputs& inputs,
                                        const core::OperationContext& context);

// The lines written after the raw answer line of ConsultarStatusOperacional: nothing unless the
// answer code is the success code, then an empty line, the heading, one line per field from 5
// on, and a closing line. A field 27 that is not a number ends the report there, without the
// closing line.
core::Lines statusReport(std::string_view answer);

} // namespace operations
