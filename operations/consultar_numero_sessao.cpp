#include "operations/consultar_numero_sessao.h"

#include "core/call_builder.h"
#include "core/text.h"

#include <cstdint>
#include <limits>

namespace operations {

std::optional<int> sessionToQuery(std::string_view typed) {
    std::size_t i = 0;
    while (i < typed.size() && (typed[i] == ' ' || typed[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < typed.size() && (typed[i] == '+' || typed[i] == '-'))
        negative = typed[i++] == '-';
    if (i == typed.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < typed.size(); ++i) {
        if (typed[i] < '0' || typed[i] > '9')
            return std::nullopt;
        value = value * 10 + (typed[i] - '0');
        if (value > std::int64_t(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

core::Lines analyseConsultarNumeroSessao(std::string_view codigo, std::string_view sessao) {
    core::Lines findings;
    if (sessao.empty())
        findings.push_back("Sessão a Consultar não pode ser nula");
    else if (!sessionToQuery(core::trimmed(sessao)))
        findings.push_back("Sessão a Consultar deve ser númerico");
    const core::Lines code = core::checkActivationCode(codigo);
    findings.insert(findings.end(), code.begin(), code.end());
    return findings;
}

core::OperationLogic bindConsultarNumeroSessao(const core::Operation& operation,
                                               const core::Inputs& inputs,
                                               const core::OperationContext&) {
    const std::string codigo = inputs.text(core::codigoField.key);
    const std::string sessao = inputs.text(sessaoField.key);
    core::OperationLogic logic;
    logic.analyse = [codigo, sessao] { return analyseConsultarNumeroSessao(codigo, sessao); };
    logic.prepare = [&operation, codigo, sessao](const std::string& session) {
        // The call is shown whatever the session holds; only sending it needs the integer.
        const auto number = sessionToQuery(sessao);
        const std::string shown = core::trimmed(sessao);
        core::PreparedCall call = core::buildCall(
            operation, session,
            {core::CallValue::typed(core::trimmed(codigo)),
             core::CallValue{std::to_string(number.value_or(0)), false, shown, shown}});
        if (!number)
            call.unsendable = "'" + sessao + "' is not a valid integer value";
        return call;
    };
    return logic;
}

} // namespace operations
