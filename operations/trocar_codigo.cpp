#include "operations/trocar_codigo.h"

#include "core/call_builder.h"
#include "core/text.h"

namespace operations {
namespace {

void add(core::Lines& findings, const core::Lines& more) {
    findings.insert(findings.end(), more.begin(), more.end());
}

} // namespace

std::string_view codeLabel(bool emergencia) {
    return emergencia ? "Código de Emergência:" : "Código de Ativação Atual:";
}

core::Lines analyseTrocar(const TrocarInputs& in) {
    core::Lines findings = core::checkCode(
        in.codigo, in.emergencia ? "Código de emergência" : "Código de ativação atual",
        "codigoDeAtivacao");
    add(findings, core::checkCode(in.novo, "Novo código de ativação", "novoCodigo"));
    add(findings,
        core::checkCode(in.confirmacao, "Novo código de ativação redigitado", "confNovoCodigo"));
    if (in.novo != in.confirmacao)
        findings.push_back("Novo código e Novo código redigitado não coincidem");
    return findings;
}

core::OperationLogic bindTrocar(const core::Operation& operation, const core::Inputs& inputs,
                                const core::OperationContext&) {
    const TrocarInputs in{inputs.text(codigoAtualField.key), inputs.text(novoCodigoField.key),
                          inputs.text(confirmacaoField.key), inputs.checked(emergenciaField.key)};
    core::OperationLogic logic;
    logic.analyse = [in] { return analyseTrocar(in); };
    logic.prepare = [&operation, in](const std::string& session) {
        return core::buildCall(operation, session,
                               {core::CallValue::typed(core::trimmed(in.codigo)),
                                core::CallValue::typed(in.emergencia ? "2" : "1"),
                                core::CallValue::typed(core::trimmed(in.novo)),
                                core::CallValue::typed(core::trimmed(in.confirmacao))});
    };
    return logic;
}

} // namespace operations
