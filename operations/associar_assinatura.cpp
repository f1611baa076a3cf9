#include "operations/associar_assinatura.h"

#include "core/call_builder.h"
#include "core/text.h"
#include "operations/cnpj.h"

#include <algorithm>
#include <stdexcept>

namespace operations {
namespace {

constexpr std::string_view bothSignatures =
    "Dê a assinatura por --assinatura ou por --assinatura-arquivo, não pelas duas.";

// The length of a text as a memo with CR LF line breaks holds it: every line break (CR LF, a
// lone LF or a lone CR) counts as two characters.
std::size_t lengthWithCrLf(std::string_view text) {
    std::size_t breaks = 0;
    std::size_t breakBytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++breaks, breakBytes += 2, ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            ++breaks, ++breakBytes;
        }
    }
    return core::characterCount(text) - breakBytes + 2 * breaks;
}

} // namespace

core::Lines analyseAssociar(const AssociarInputs& in) {
    core::Lines findings = core::checkActivationCode(in.codigo);
    if (!isCNPJ(in.cnpjContribuinte))
        findings.push_back("CNPJ do Contribuinte inválido.");
    if (!isCNPJ(in.cnpjSoftwareHouse))
        findings.push_back("CNPJ da Software House inválido.");
    if (core::trimmed(in.assinatura).empty())
        findings.push_back("Assinatura não pode estar em branco.");
    if (lengthWithCrLf(in.assinatura) > maxSignatureLength)
        findings.push_back("Assinatura não pode ter mais de 344 caracteres.");
    return findings;
}

std::string signatureSent(std::string_view typed) {
    std::string sent(typed);
    std::erase_if(sent, [](char c) { return c == '\r' || c == '\n'; });
    return sent;
}

core::OperationLogic bindAssociar(const core::Operation& operation, const core::Inputs& inputs,
                                  const core::OperationContext&) {
    const std::string& typed = inputs.text(assinaturaField.key);
    const std::string& fromFile = inputs.text(assinaturaArquivoField.key);
    const bool both = !typed.empty() && !fromFile.empty();
    const AssociarInputs in{
        inputs.text(core::codigoField.key), inputs.text(cnpjSoftwareHouseField.key),
        inputs.text(cnpjContribuinte2Field.key), typed.empty() ? fromFile : typed};
    core::OperationLogic logic;
    logic.analyse = [in, both] {
        core::Lines findings = analyseAssociar(in);
        if (both)
            findings.emplace_back(bothSignatures);
        return findings;
    };
    logic.prepare = [&operation, in, both](const std::string& session) {
        if (both)
            throw std::invalid_argument(std::string(bothSignatures));
        core::CallValue signature = core::CallValue::typed(signatureSent(in.assinatura));
        signature.preview = in.assinatura;
        return core::buildCall(operation, session,
                               {core::CallValue::typed(core::trimmed(in.codigo)),
                                core::CallValue::typed(core::trimmed(in.cnpjSoftwareHouse) +
                                                       core::trimmed(in.cnpjContribuinte)),
                                std::move(signature)});
    };
    return logic;
}

} // namespace operations
