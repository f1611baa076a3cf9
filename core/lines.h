#pragma once
// Lines of text as the boxes of a page show them.

#include <string>
#include <string_view>
#include <vector>

namespace core {

using Lines = std::vector<std::string>;

// Adds a text as display lines: CR, LF and CRLF break it; a final break adds no line.
void appendLines(Lines& lines, std::string_view text);

} // namespace core
