#pragma once
// TrocarCodigoDeAtivacao: changes the activation code, given the current code or the emergency
// code.

#include "core/activation_code.h"
#include "core/operation_definition.h"

#include <string>

namespace operations {

inline constexpr core::InputField codigoAtualField{
    "codigo", "--codigo", "CODIGO",
    "código de ativação atual, ou o de emergência com --emergencia"};
inline constexpr core::InputField novoCodigoField{"novo", "--novo", "CODIGO",
                                                  "novo código de ativação"};
inline constexpr core::InputField confirmacaoField{"confirmacao", "--confirmacao", "CODIGO",
                                                   "o novo código redigitado"};
inline constexpr core::InputField emergenciaField{
    "emergencia", "--emergencia", "",
    "o código dado é o de emergência (\"Usar Código de emergência\", opcao 2)",
    core::InputField::Kind::Switch};

inline constexpr core::InputField trocarFields[] = {codigoAtualField, novoCodigoField,
                                                    confirmacaoField, emergenciaField};

struct TrocarInputs {
    std::string codigo; // the current code, or the emergency code
    std::string novo;
    std::string confirmacao;
    bool emergencia = false;
};

// The label of the code's edit: "Código de Emergência:" with the emergency code, else
// "Código de Ativação Atual:".
std::string_view codeLabel(bool emergencia);

// Findings, in order: the given code (named as the current or the emergency code), the new code,
// the retyped code, and the two new codes differing as typed.
core::Lines analyseTrocar(const TrocarInputs& in);

// The call: the trimmed codes, opcao 2 with the emergency code and 1 otherwise.
core::OperationLogic bindTrocar(const core::Operation& operation, const core::Inputs& inputs,
                                const core::OperationContext& context);

} // namespace operations
