#pragma once
// The checks every page makes on a code typed by the user before it goes to the module.

#include "core/call_text.h"
#include "core/operation_definition.h"

#include <string_view>

namespace core {

// The activation code as every page that takes one asks for it.
inline constexpr core::InputField codigoField{
    "codigo", "--codigo", "CODIGO",
    "código de ativação, como digitado no campo \"Código de Ativação:\""};

// Findings on a code as typed (blanks included, not trimmed), in order: subject + " não pode ser
// nulo" when it is empty, subject + " deve ter entre 8 e 32 caracteres" when it has fewer than 8
// or more than 32 characters, and the call's refusal of a character the module's code page cannot
// hold, naming `parameter` (the call's parameter that carries the code). An empty code gets the
// first two. No findings means the code is fine.
core::Lines checkCode(std::string_view typed, std::string_view subject, std::string_view parameter);

// checkCode for the activation code, the subject "Código de ativação", the parameter
// codigoDeAtivacao.
core::Lines checkActivationCode(std::string_view typed);

// The logic of a page whose one parameter is the activation code: the activation-code checks
// and the call with the trimmed code. No report: the caller adds one where the page has one.
core::OperationLogic codeOnlyLogic(const core::Operation& operation, const core::Inputs& inputs);

// BloquearSAT, DesbloquearSAT and AtualizarSoftwareSAT: the activation code alone, the raw
// answer only.
core::OperationLogic bindCodeOnly(const core::Operation& operation, const core::Inputs& inputs,
                                  const core::OperationContext& context);

} // namespace core
