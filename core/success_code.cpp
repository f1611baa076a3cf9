#include "core/success_code.h"

#include <algorithm>

namespace core {
namespace {

bool isAnswerCode(std::string_view code) {
    return code.size() == 5 &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool isSuccessCode(const Operation& operation, std::string_view code) {
    if (!isAnswerCode(code))
        return false;
    // The busy code carries the function's two digits.
    const std::string_view function = operation.busyCode.substr(0, 2);
    const std::string_view result = code.substr(2);
    if (operation.name == "ConsultarNumeroSessao")
        return code.substr(0, 2) != function || result == "000";
    if (code.substr(0, 2) != function)
        return false;
    return result == "000" || (operation.name == "AtivarSAT" && result == "006");
}

} // namespace core
