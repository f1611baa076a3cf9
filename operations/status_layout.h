#pragma once
// What the operational and the extended status reports share: the heading, the layout of a field
// line, the operation-state names and the rule for fields and codes no table names.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace operations {

// Opens both status sections (46 characters).
inline constexpr std::string_view statusHeading = "---- Status ----------------------------------";

// A blank, the label, a blank, periods up to `width` characters after the label's start, a blank
// and the value; every value of a report thus starts in the same column.
std::string fieldLine(std::string_view label, std::size_t width, std::string_view value);

// The label of a field after the last one a report's table names: "CAMPO_" + its number.
std::string extraFieldLabel(std::size_t field);

// The decimal value of a field, or nothing when it is not a decimal integer. Blanks around the
// digits are ignored.
std::optional<int> decimalValue(std::string_view field);

// A code that its table does not hold: the code as received (decoded as UTF-8), then
// " (desconhecido)".
std::string unknownCode(std::string_view field);

// The name of the operation state a field holds ("DESBLOQUEADO" for 0 ... "BLOQUEIO PARA
// DESATIVACAO" for 4; unknownCode otherwise), or nothing when the field is not a decimal integer.
std::optional<std::string> operationStateName(std::string_view field);

} // namespace operations
