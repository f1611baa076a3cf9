#include "operations/status_report.h"

#include "core/activation_code.h"
#include "core/answer_cuts.h"
#include "core/status_fields.h"
#include "core/text.h"
#include "operations/extended_status_report.h"
#include "operations/status_layout.h"

#include <array>

namespace operations {
namespace {

// Keys of the answer fields 5 to 27.
constexpr std::array<std::string_view, 23> keys = {
    "NSERIE",    "TIPO_LAN",  "LAN_IP",       "LAN_MAC",         "LAN_MASK",       "LAN_GW",
    "LAN_DNS_1", "LAN_DNS_2", "STATUS_LAN",   "NIVEL_BATERIA",   "MT_TOTAL",       "MT_USADA",
    "DH_ATUAL",  "VER_SB",    "VER_LAYOUT",   "ULTIMO_CF-E-SAT", "LISTA_INICIAL",  "LISTA_FINAL",
    "DH_CFe",    "DH_ULTIMA", "CERT_EMISSAO", "CERT_VENCIMENTO", "ESTADO_OPERACAO"};

constexpr std::size_t firstField = 5;
constexpr std::size_t stateField = 27;
constexpr std::size_t keyWidth = 17;
constexpr std::string_view closingLine = "----------------------------------------------";

std::string key(std::size_t field) {
    const std::size_t index = field - firstField;
    return index < keys.size() ? std::string(keys[index]) : extraFieldLabel(field);
}

// Appends the section; stops where a field cannot be shown.
void writeSection(std::string_view answer, core::Lines& lines) {
    lines.emplace_back();
    lines.emplace_back(statusHeading);
    const auto fields = core::fieldList(answer);
    for (std::size_t n = firstField; n < fields.size(); ++n) {
        std::string value;
        if (n == stateField) {
            auto name = core::operationStateName(fields[n]);
            if (!name)
                return;
            value = std::move(*name);
        } else {
            value = core::decodeUtf8(fields[n]);
        }
        lines.push_back(fieldLine(key(n), keyWidth, value));
    }
    lines.emplace_back(closingLine);
}

} // namespace

core::Lines statusReport(std::string_view answer) {
    core::Lines lines;
    if (core::answerCode(answer) ==
        core::operationByName("ConsultarStatusOperacional")->successCode)
        writeSection(answer, lines);
    return lines;
}

namespace {

core::OperationLogic bindWithReport(const core::Operation& operation, const core::Inputs& inputs,
                                    core::Lines (*report)(std::string_view)) {
    core::OperationLogic logic = core::codeOnlyLogic(operation, inputs);
    logic.report = core::appendingReport(report);
    return logic;
}

} // namespace

core::OperationLogic bindStatus(const core::Operation& operation, const core::Inputs& inputs,
                                const core::OperationContext&) {
    return bindWithReport(operation, inputs, statusReport);
}

core::OperationLogic bindExtendedStatus(const core::Operation& operation,
                                        const core::Inputs& inputs, const core::OperationContext&) {
    return bindWithReport(operation, inputs, extendedStatusPageReport);
}

} // namespace operations
