#include "operations/consultar_sat.h"

#include "core/call_text.h"
#include "core/catalogue.h"
#include "core/text.h"

namespace operations {

core::Argument sessionArgument(const std::string& sessionNumber) {
    return core::Argument::integer(core::toInt(sessionNumber), sessionNumber);
}

std::string consultarSatCallText(const std::string& sessionNumber) {
    return core::callText(core::operationByPage(0)->name, std::vector{sessionNumber});
}

core::Arguments consultarSatArguments(const std::string& sessionNumber) {
    return {sessionArgument(sessionNumber)};
}

core::PreparedCall consultarSatCall(const std::string& sessionNumber) {
    return {consultarSatCallText(sessionNumber), consultarSatArguments(sessionNumber)};
}

} // namespace operations
