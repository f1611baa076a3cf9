#include "core/call_builder.h"

#include "core/text.h"

#include <stdexcept>

namespace core {

std::optional<std::string> outsideCodePageFinding(std::string_view parameter,
                                                  std::string_view value) {
    const auto character = firstCharacterOutsideAnsi(value);
    if (!character)
        return std::nullopt;
    return "O caractere \"" + *character + "\" de " + std::string(parameter) +
           " não existe na página de código do módulo: chegaria como \"?\". Corrija o valor "
           "antes de enviar.";
}

PreparedCall buildCall(const Operation& operation, std::string_view sessionNumber,
                       std::vector<CallValue> values) {
    if (values.size() + 1 != operation.params.size())
        throw std::invalid_argument(std::string(operation.name) + " takes " +
                                    std::to_string(operation.params.size() - 1) +
                                    " values after the session number");
    const std::string session(sessionNumber);
    std::vector<std::string> shownInCall{session};
    PreparedCall call;
    call.arguments.push_back(Argument::integer(toInt(session), session));
    for (std::size_t i = 0; i < values.size(); ++i) {
        CallValue& v = values[i];
        shownInCall.push_back(v.callText.value_or(v.value));
        std::string preview = v.preview.value_or(v.value);
        if (operation.params[i + 1].type == ParamType::Int)
            call.arguments.push_back(Argument::integer(toInt(v.value), std::move(preview)));
        else if (v.document)
            call.arguments.push_back(Argument::document(std::move(v.value), std::move(preview)));
        else {
            if (auto refused = outsideCodePageFinding(operation.params[i + 1].name, v.value))
                throw std::invalid_argument(std::move(*refused));
            call.arguments.push_back(Argument::typed(std::move(v.value), std::move(preview)));
        }
    }
    call.text = callText(operation.name, shownInCall);
    return call;
}

} // namespace core
