#include "core/call_text.h"

namespace core {

std::string callText(std::string_view operationName, std::span<const std::string> values) {
    std::string text(operationName);
    text += '(';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            text += ',';
        text += values[i];
    }
    text += ')';
    return text;
}

} // namespace core
