#include "access/line_breaks.h"

namespace backend {

void appendLines(core::Lines& lines, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(from, i - from));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        from = i + 1;
    }
    if (from < text.size() || from == 0)
        lines.emplace_back(text.substr(from));
}

} // namespace backend
