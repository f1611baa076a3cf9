#pragma once
// AtivarSAT: activates the module for a taxpayer, given the activation code, the taxpayer's CNPJ
// and the federative unit.

#include "core/activation_code.h"
#include "core/operation_definition.h"

#include <optional>
#include <string_view>

namespace operations {

inline constexpr core::InputField cnpjContribuinteField{
    "cnpj", "--cnpj", "CNPJ", "CNPJ do contribuinte, os 14 dígitos (\"CNPJ do Contribuinte:\")"};
inline constexpr core::InputField ufField{"uf", "--uf", "UF",
                                          "sigla da UF do contribuinte (\"UF:\"), por exemplo SP"};

inline constexpr core::InputField ativarFields[] = {core::codigoField, cnpjContribuinteField,
                                                    ufField};

// The IBGE code of a UF given by its abbreviation (in any letter case); nothing when the text
// names no UF of the table (an empty selection included).
std::optional<std::string_view> ufCode(std::string_view sigla);

// Findings, in order: the activation-code checks, the taxpayer's CNPJ, the UF.
core::Lines analyseAtivar(std::string_view codigo, std::string_view cnpj, std::string_view uf);

// The call: subComando always 1, the trimmed code and CNPJ, the UF's code as the integer cUF
// (shown as its two-digit text). Without a UF nothing is called.
core::OperationLogic bindAtivar(const core::Operation& operation, const core::Inputs& inputs,
                                const core::OperationContext& context);

} // namespace operations
