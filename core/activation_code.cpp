#include "core/activation_code.h"

#include "core/call_builder.h"
#include "core/text.h"

namespace core {

core::Lines checkCode(std::string_view typed, std::string_view subject,
                      std::string_view parameter) {
    core::Lines findings;
    if (typed.empty())
        findings.push_back(std::string(subject) + " não pode ser nulo");
    const std::size_t length = core::characterCount(typed);
    if (length < 8 || length > 32)
        findings.push_back(std::string(subject) + " deve ter entre 8 e 32 caracteres");
    if (auto refused = core::outsideCodePageFinding(parameter, typed))
        findings.push_back(std::move(*refused));
    return findings;
}

core::Lines checkActivationCode(std::string_view typed) {
    return checkCode(typed, "Código de ativação", "codigoDeAtivacao");
}

core::OperationLogic codeOnlyLogic(const core::Operation& operation, const core::Inputs& inputs) {
    const std::string codigo = inputs.text(codigoField.key);
    core::OperationLogic logic;
    logic.analyse = [codigo] { return checkActivationCode(codigo); };
    logic.prepare = [&operation, codigo](const std::string& session) {
        return core::buildCall(operation, session, {core::CallValue::typed(core::trimmed(codigo))});
    };
    return logic;
}

core::OperationLogic bindCodeOnly(const core::Operation& operation, const core::Inputs& inputs,
                                  const core::OperationContext&) {
    return codeOnlyLogic(operation, inputs);
}

} // namespace core
