#pragma once
// The call of the network pages: the configuration built from the form, or one prepared
// beforehand and sent in its place.

#include "core/activation_code.h"
#include "core/operation_definition.h"
#include "network/network_fields.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace network {

// The call of a network page: the code as typed, the configuration text as UTF-8 bytes.
core::PreparedCall configurationCall(const core::Operation& operation, const std::string& session,
                                     const std::string& codigo, std::string text);

// The logic that sends `document` (a file's bytes) unchanged as dadosConfiguracao with the code
// as typed; its analysis says that it does not look at a prepared document. An empty document is
// refused: the module would take it as a configuration, and the form does not stand in for it.
core::OperationLogic preparedDocumentLogic(const core::Operation& operation, std::string codigo,
                                           std::string document);

// What "Analisar" says of a prepared document, and what "Mostrar" says when it refuses an empty
// one.
inline constexpr std::string_view preparedDocumentNotice =
    "Documento preparado (--xml): a análise não se aplica, o documento é enviado como está.";
inline constexpr std::string_view emptyPreparedDocument =
    "O documento preparado (--xml) está vazio: nada é enviado, e o formulário não o substitui.";

// A network page's logic: the prepared document of the xml field when that field is given, even
// empty; otherwise the form as `read` gives it (a Form has `codigo` and the `problems` of values
// that name no item), its analysis, and its configuration text. A form with problems is not
// sent.
template <typename Form>
core::OperationLogic bindConfiguration(const core::Operation& operation, const core::Inputs& inputs,
                                       Form (*read)(const core::Inputs&),
                                       core::Lines (*analyse)(const Form&),
                                       std::string (*text)(const Form&)) {
    if (inputs.given(xmlField.key))
        return preparedDocumentLogic(operation, inputs.text(core::codigoField.key),
                                     inputs.text(xmlField.key));
    const Form form = read(inputs);
    core::OperationLogic logic;
    logic.analyse = [form, analyse] { return analyse(form); };
    logic.prepare = [&operation, form, text](const std::string& session) {
        if (!form.problems.empty())
            throw std::invalid_argument(form.problems.front());
        return configurationCall(operation, session, form.codigo, text(form));
    };
    return logic;
}

} // namespace network
