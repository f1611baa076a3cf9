#pragma once
// The coded fields of the status answers as words: the operation state, and the rule for fields
// that are not numbers and codes no table names. Shared by the status reports and the support
// package's summary.

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The decimal value of a field, or nothing when it is not a decimal integer. Blanks around the
// digits are ignored.
std::optional<int> decimalValue(std::string_view field);

// A code that its table does not hold: the code as received (decoded as UTF-8), then
// " (desconhecido)".
std::string unknownCode(std::string_view field);

// The name of the operation state a field holds ("DESBLOQUEADO" for 0 ... "BLOQUEIO PARA
// DESATIVACAO" for 4; unknownCode otherwise), or nothing when the field is not a decimal integer.
std::optional<std::string> operationStateName(std::string_view field);

} // namespace core
