#include "network/configuration_call.h"

#include "core/call_builder.h"

namespace network {

core::PreparedCall configurationCall(const core::Operation& operation, const std::string& session,
                                     const std::string& codigo, std::string text) {
    // The document declares UTF-8, so its bytes go out as they are, not in the code page.
    return core::buildCall(operation, session,
                           {core::CallValue::typed(codigo), {std::move(text), true, {}, {}}});
}

core::OperationLogic preparedDocumentLogic(const core::Operation& operation, std::string codigo,
                                           std::string document) {
    core::OperationLogic logic;
    logic.analyse = [] {
        return core::Lines{"Documento preparado (--xml): a análise não se aplica, o documento é "
                           "enviado como está."};
    };
    logic.prepare = [&operation, codigo, document](const std::string& session) {
        return configurationCall(operation, session, codigo, document);
    };
    return logic;
}

} // namespace network
