#include "operations/extrair_logs.h"

#include "core/answer_cuts.h"
#include "core/base64.h"
#include "core/path_text.h"
#include "core/text.h"
#include "core/whole_file.h"

#include <memory>

namespace operations {
namespace {

constexpr std::size_t firstLogField = 5;

void writeSection(std::string_view log, core::Lines& lines) {
    lines.emplace_back();
    lines.emplace_back(logHeading);
    core::appendLines(lines, core::decodeUtf8(log));
    lines.emplace_back();
    lines.emplace_back(logClosingLine);
}

} // namespace

std::optional<std::string> extractedLog(std::string_view answer) {
    if (core::answerCode(answer) != core::operationByName("ExtrairLogs")->successCode)
        return std::nullopt;
    // A log the module broke into lines is joined back into one piece.
    std::string base64;
    const auto fields = core::fieldList(answer);
    for (std::size_t n = firstLogField; n < fields.size(); ++n)
        base64 += fields[n];
    return core::decodeBase64Lenient(base64);
}

void logReport(std::string_view answer, core::Lines& lines) {
    if (const auto log = extractedLog(answer))
        writeSection(*log, lines);
}

core::OperationLogic bindExtrairLogs(const core::Operation& operation, const core::Inputs& inputs,
                                     const core::OperationContext&) {
    core::OperationLogic logic = core::codeOnlyLogic(operation, inputs);
    const std::string saida = inputs.text(saidaField.key);
    if (saida.empty()) {
        logic.report = logReport;
        return logic;
    }
    auto written = std::make_shared<std::vector<std::string>>();
    auto saved = std::make_shared<std::optional<core::SavedDocument>>();
    logic.report = [&operation, saida, written, saved](std::string_view answer,
                                                       core::Lines& lines) {
        if (core::answerCode(answer) != operation.successCode)
            return;
        const auto log = extractedLog(answer);
        std::string error;
        if (!log) {
            error = "O log não está em Base64 válido: " + saida + " não foi gravado.";
        } else {
            writeSection(*log, lines);
            if (core::writeFileWhole(core::pathFromUtf8(saida), *log, error)) {
                written->push_back(saida);
                *saved = core::SavedDocument{true, {}};
                return;
            }
            error = "Não foi possível gravar o log em " + saida + ": " + error;
        }
        lines.push_back(error);
        *saved = core::SavedDocument{false, error};
    };
    logic.writtenFiles = [written] { return *written; };
    logic.savedDocument = [saved] { return *saved; };
    return logic;
}

} // namespace operations
