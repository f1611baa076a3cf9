#include "operations/status_layout.h"

#include "core/text.h"

namespace operations {

std::string fieldLine(std::string_view label, std::size_t width, std::string_view value) {
    const std::size_t length = core::characterCount(label);
    std::string line = " ";
    line += label;
    line += ' ';
    line.append(length < width ? width - length : 0, '.');
    line += ' ';
    line += value;
    return line;
}

std::string extraFieldLabel(std::size_t field) {
    return "CAMPO_" + std::to_string(field);
}

} // namespace operations
