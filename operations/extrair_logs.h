#pragma once
// ExtrairLogs: the module's log, returned in Base64 and shown decoded after the raw answer.

#include "core/activation_code.h"
#include "core/operation_definition.h"

#include <optional>
#include <string>
#include <string_view>

namespace operations {

inline constexpr core::InputField saidaField{"saida", "--saida", "ARQUIVO",
                                             "grava em ARQUIVO o log decodificado, byte a byte"};

inline constexpr core::InputField extrairLogsFields[] = {core::codigoField, saidaField};

inline constexpr std::string_view logHeading =
    "---- Log Decodificado --------------------------------";
inline constexpr std::string_view logClosingLine =
    "------------------------------------------------------";

// The log an answer carries: only for the success code, the fields from 5 on joined into one
// Base64 text, decoded; nothing when the answer is another or its Base64 is refused.
std::optional<std::string> extractedLog(std::string_view answer);

// The log section: an empty line, the heading, the log read as UTF-8 (U+FFFD for each invalid
// sequence), an empty line and the closing line. Nothing when extractedLog gives nothing.
void logReport(std::string_view answer, core::Lines& lines);

// The activation-code checks and call; the log section as report. With `saida` set, the
// decoded log is also written to that file, byte for byte; a log of a success answer that cannot
// be decoded or written gets a report line, and savedDocument says it was not saved.
core::OperationLogic bindExtrairLogs(const core::Operation& operation, const core::Inputs& inputs,
                                     const core::OperationContext& context);

} // namespace operations
