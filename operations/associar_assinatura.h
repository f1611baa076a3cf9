#pragma once
// AssociarAssinatura: associates the commercial application's signature with the module, given
// the activation code, the software house's and the taxpayer's CNPJ and the signature text.

#include "core/activation_code.h"
#include "core/operation_definition.h"

#include <string>
#include <string_view>

namespace operations {

inline constexpr core::InputField cnpjSoftwareHouseField{
    "cnpj-sh", "--cnpj-sh", "CNPJ",
    "CNPJ da software house, os 14 dígitos (\"CNPJ Software House:\")"};
inline constexpr core::InputField cnpjContribuinte2Field{
    "cnpj-contribuinte", "--cnpj-contribuinte", "CNPJ",
    "CNPJ do contribuinte, os 14 dígitos (\"CNPJ do Contribuinte:\")"};
inline constexpr core::InputField assinaturaField{
    "assinatura", "--assinatura", "TEXTO",
    "assinatura do aplicativo comercial (\"Assinatura do Aplicativo Comercial:\")"};
inline constexpr core::InputField assinaturaArquivoField{
    "assinatura-arquivo", "--assinatura-arquivo", "ARQUIVO",
    "lê a assinatura de ARQUIVO em vez de --assinatura", core::InputField::Kind::FileContents};

inline constexpr core::InputField associarFields[] = {core::codigoField, cnpjSoftwareHouseField,
                                                      cnpjContribuinte2Field, assinaturaField,
                                                      assinaturaArquivoField};

// What the page's fields hold, as typed; the signature with its line breaks.
struct AssociarInputs {
    std::string codigo;
    std::string cnpjSoftwareHouse;
    std::string cnpjContribuinte;
    std::string assinatura;
};

// The longest signature the analysis passes, a line break counted as two characters (CR LF).
inline constexpr std::size_t maxSignatureLength = 344;

// Findings, in order: the activation-code checks, the taxpayer's CNPJ, the software house's
// CNPJ, a blank signature, a signature longer than 344 characters as it stands.
core::Lines analyseAssociar(const AssociarInputs& in);

// The signature as sent: every line break (CR, LF or both) removed, nothing else changed.
std::string signatureSent(std::string_view typed);

// The call: the trimmed code, the two CNPJ values joined (software house first), the signature
// without its line breaks; the request preview shows the signature as typed.
core::OperationLogic bindAssociar(const core::Operation& operation, const core::Inputs& inputs,
                                  const core::OperationContext& context);

} // namespace operations
