#include "core/consultar_sat.h"

#include "core/call_text.h"
#include "core/catalogue.h"
#include "core/text.h"

namespace core {

Argument sessionArgument(const std::string& sessionNumber) {
    return Argument::integer(toInt(sessionNumber), sessionNumber);
}

std::string consultarSatCallText(const std::string& sessionNumber) {
    return callText(operationByPage(0)->name, std::vector{sessionNumber});
}

Arguments consultarSatArguments(const std::string& sessionNumber) {
    return {sessionArgument(sessionNumber)};
}

PreparedCall consultarSatCall(const std::string& sessionNumber) {
    return {consultarSatCallText(sessionNumber), consultarSatArguments(sessionNumber)};
}

} // namespace core
