#include "cli/operation_entries.h"

#include "operations/consultar_sat.h"
#include "operations/extended_status_report.h"
#include "operations/status_report.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace cli {
namespace {

// Options named after the page controls they stand for.
constexpr Option codigo{"--codigo", "CODIGO",
                        "código de ativação, como digitado no campo \"Código de Ativação:\""};

constexpr const Option* codigoOnly[] = {&codigo};

PageLogic consultarSat(const core::Operation&, const CommandLine&) {
    PageLogic logic;
    logic.prepare = operations::consultarSatCall;
    return logic;
}

// Pages 5 and 15: the same page with the activation code, each with its own report.
PageLogic statusPage(const core::Operation& operation, const CommandLine& line,
                     core::Report report) {
    const operations::StatusInputs in{line.text(codigo.name)};
    PageLogic logic;
    logic.analyse = [in] { return operations::analyse(in); };
    logic.prepare = [&operation, in](const std::string& session) {
        return operations::statusCall(operation, session, in);
    };
    logic.report = std::move(report);
    return logic;
}

PageLogic consultarStatus(const core::Operation& operation, const CommandLine& line) {
    return statusPage(operation, line, operations::statusReport);
}

PageLogic consultarStatusMfe(const core::Operation& operation, const CommandLine& line) {
    return statusPage(operation, line, operations::extendedStatusPageReport);
}

const core::Operation& op(int page) {
    return *core::operationByPage(page);
}

// clang-format off
const std::array<OperationEntry, 16> entries = {{
    {op(0), {}, consultarSat},
    {op(1), {}, nullptr},
    {op(2), {}, nullptr},
    {op(3), {}, nullptr},
    {op(4), {}, nullptr},
    {op(5), codigoOnly, consultarStatus},
    {op(6), {}, nullptr},
    {op(7), {}, nullptr},
    {op(8), {}, nullptr},
    {op(9), {}, nullptr},
    {op(10), {}, nullptr},
    {op(11), {}, nullptr},
    {op(12), {}, nullptr},
    {op(13), {}, nullptr},
    {op(15), codigoOnly, consultarStatusMfe},
    {op(16), {}, nullptr},
}};
// clang-format on

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

const OperationEntry* entryNamed(std::string_view name) {
    const auto it = std::find_if(entries.begin(), entries.end(), [name](const OperationEntry& e) {
        return sameName(e.operation.name, name);
    });
    return it == entries.end() ? nullptr : &*it;
}

} // namespace cli
