#pragma once
// Text with line breaks as the lines a memo shows.

#include "core/call_text.h"

#include <string_view>

namespace backend {

// Appends the lines of `text`: CR LF, LF and CR each end a line; a final line break adds no
// empty line after it.
void appendLines(core::Lines& lines, std::string_view text);

} // namespace backend
