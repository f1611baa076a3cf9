#pragma once
// What the operational and the extended status reports share: the heading, the layout of a field
// line and the label of fields no table names (the coded fields' words are in
// core/status_fields.h).

#include <cstddef>
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

} // namespace operations
