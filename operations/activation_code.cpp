#include "operations/activation_code.h"

#include "core/text.h"

namespace operations {

core::Lines checkCode(std::string_view typed, std::string_view subject) {
    core::Lines findings;
    if (typed.empty())
        findings.push_back(std::string(subject) + " não pode ser nulo");
    const std::size_t length = core::characterCount(typed);
    if (length < 8 || length > 32)
        findings.push_back(std::string(subject) + " deve ter entre 8 e 32 caracteres");
    return findings;
}

core::Lines checkActivationCode(std::string_view typed) {
    return checkCode(typed, "Código de ativação");
}

} // namespace operations
