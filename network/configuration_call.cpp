#include "network/configuration_call.h"

#include "core/call_builder.h"

#include <optional>
#include <stdexcept>

namespace network {

core::PreparedCall configurationCall(const core::Operation& operation, const std::string& session,
                                     const std::string& codigo, std::string text) {
    // The document declares UTF-8, so its bytes go out as they are, not in the code page.
    return core::buildCall(operation, session,
                           {core::CallValue::typed(codigo), {std::move(text), true, {}, {}}});
}

core::OperationLogic preparedDocumentLogic(const core::Operation& operation, std::string codigo,
                                           std::string document) {
    const bool empty = document.empty();
    core::OperationLogic logic;
    logic.analyse = [empty] {
        core::Lines findings{std::string(preparedDocumentNotice)};
        if (empty)
            findings.emplace_back(emptyPreparedDocument);
        return findings;
    };
    logic.refusal = [empty]() -> std::optional<std::string> {
        if (empty)
            return std::string(emptyPreparedDocument);
        return std::nullopt;
    };
    logic.prepare = [&operation, codigo, document](const std::string& session) {
        if (document.empty())
            throw std::invalid_argument(std::string(emptyPreparedDocument));
        return configurationCall(operation, session, codigo, document);
    };
    return logic;
}

} // namespace network
