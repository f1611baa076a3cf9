#include "operations/status_layout.h"

#include "core/text.h"

#include <array>
#include <stdexcept>

namespace operations {
namespace {

constexpr std::array<std::string_view, 5> stateNames = {
    "DESBLOQUEADO", "BLOQUEIO SEFAZ", "BLOQUEIO CONTRIBUINTE", "BLOQUEIO AUTONOMO",
    "BLOQUEIO PARA DESATIVACAO"};

} // namespace

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

std::optional<int> decimalValue(std::string_view field) {
    try {
        return core::toInt(core::trimmed(field));
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

std::string unknownCode(std::string_view field) {
    return core::decodeUtf8(field) + " (desconhecido)";
}

std::optional<std::string> operationStateName(std::string_view field) {
    const auto code = decimalValue(field);
    if (!code)
        return std::nullopt;
    if (*code < 0 || static_cast<std::size_t>(*code) >= stateNames.size())
        return unknownCode(field);
    return std::string(stateNames[static_cast<std::size_t>(*code)]);
}

} // namespace operations
