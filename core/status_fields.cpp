#include "core/status_fields.h"

#include "core/text.h"

#include <array>
#include <stdexcept>

namespace core {
namespace {

constexpr std::array<std::string_view, 5> stateNames = {
    "DESBLOQUEADO", "BLOQUEIO SEFAZ", "BLOQUEIO CONTRIBUINTE", "BLOQUEIO AUTONOMO",
    "BLOQUEIO PARA DESATIVACAO"};

} // namespace

std::optional<int> decimalValue(std::string_view field) {
    try {
        return toInt(trimmed(field));
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

std::string unknownCode(std::string_view field) {
    return decodeUtf8(field) + " (desconhecido)";
}

std::optional<std::string> operationStateName(std::string_view field) {
    const auto code = decimalValue(field);
    if (!code)
        return std::nullopt;
    if (*code < 0 || static_cast<std::size_t>(*code) >= stateNames.size())
        return unknownCode(field);
    return std::string(stateNames[static_cast<std::size_t>(*code)]);
}

} // namespace core
