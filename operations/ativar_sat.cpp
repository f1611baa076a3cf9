#include "operations/ativar_sat.h"

#include "core/call_builder.h"
#include "core/text.h"
#include "operations/cnpj.h"
#include "operations/uf_table.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace operations {
namespace {

// The finding for a UF that cannot be sent; empty when the UF is one of the table.
std::string ufFinding(std::string_view uf) {
    if (ufCode(uf))
        return {};
    if (uf.empty())
        return "Uma UF deve ser selecionada.";
    return "UF desconhecida: " + std::string(uf) + ".";
}

} // namespace

std::optional<std::string_view> ufCode(std::string_view sigla) {
    std::string upper(sigla);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto table = ufTable();
    const auto it =
        std::find_if(table.begin(), table.end(), [&](const Uf& uf) { return uf.sigla == upper; });
    return it == table.end() ? std::nullopt : std::optional(it->codigo);
}

core::Lines analyseAtivar(std::string_view codigo, std::string_view cnpj, std::string_view uf) {
    core::Lines findings = core::checkActivationCode(codigo);
    if (!isCNPJ(cnpj))
        findings.push_back("CNPJ do Contribuinte inválido.");
    if (const std::string finding = ufFinding(uf); !finding.empty())
        findings.push_back(finding);
    return findings;
}

core::OperationLogic bindAtivar(const core::Operation& operation, const core::Inputs& inputs,
                                const core::OperationContext&) {
    const std::string codigo = inputs.text(core::codigoField.key);
    const std::string cnpj = inputs.text(cnpjContribuinteField.key);
    const std::string uf = inputs.text(ufField.key);
    core::OperationLogic logic;
    logic.analyse = [=] { return analyseAtivar(codigo, cnpj, uf); };
    logic.prepare = [&operation, codigo, cnpj, uf](const std::string& session) {
        // An activation with a wrong UF is hard to undo: without one nothing is shown or sent.
        const auto code = ufCode(uf);
        if (!code)
            throw std::invalid_argument(ufFinding(uf));
        return core::buildCall(operation, session,
                               {core::CallValue::typed("1"),
                                core::CallValue::typed(core::trimmed(codigo)),
                                core::CallValue::typed(core::trimmed(cnpj)),
                                core::CallValue::typed(std::string(*code))});
    };
    return logic;
}

} // namespace operations
