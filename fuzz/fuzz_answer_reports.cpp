// Module answers: the two cuts, the field list of returned documents, and every report written
// after the raw answer line. Byte 0 chooses the reader, the rest is the answer. Every report line,
// message and access key must be UTF-8 whatever the module sent; a report may stop part-way (the
// page's guard catches it), but the lines written until then must be UTF-8 as well.

#include "core/answer_cuts.h"
#include "core/catalogue.h"
#include "documents/cancel_last_sale.h"
#include "documents/end_to_end.h"
#include "documents/returned_document.h"
#include "documents/sale.h"
#include "fuzz/fuzz_support.h"
#include "operations/extended_status_report.h"
#include "operations/extrair_logs.h"
#include "operations/status_report.h"

#include <algorithm>
#include <stdexcept>

namespace {

bool isBreak(char c) {
    return c == '\r' || c == '\n';
}

// fieldList cuts at "|", CR, LF and CR LF, and a separator at the very end opens no field; so the
// fields joined by "|" give the answer with every separator written as "|" (less a final one).
void checkCuts(std::string_view answer) {
    const auto fields = core::fieldList(answer);
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fuzz::require(std::none_of(fields[i].begin(), fields[i].end(),
                                   [](char c) { return c == '|' || isBreak(c); }),
                      "a field holds no separator", fields[i]);
        joined += (i == 0 ? "" : "|") + fields[i];
    }
    std::string separated;
    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (answer[i] == '\r' && i + 1 < answer.size() && answer[i + 1] == '\n')
            ++i;
        separated += isBreak(answer[i]) ? '|' : answer[i];
    }
    if (!separated.empty() && separated.back() == '|')
        separated.pop_back();
    fuzz::require(joined == separated, "fieldList keeps every byte between separators", joined);

    const auto pieces = core::codeCut(answer);
    fuzz::require(std::none_of(pieces.begin(), pieces.end(), [](auto& p) { return p.empty(); }),
                  "codeCut drops empty pieces");
    fuzz::require(core::answerCode(answer) == (pieces.size() > 1 ? pieces[1] : ""),
                  "the answer code is the second piece");

    // Returned documents: line breaks never split a field, and without them the fields are
    // those of fieldList.
    std::string unbroken(answer);
    std::erase_if(unbroken, isBreak);
    fuzz::require(documents::documentFields(answer) == core::fieldList(unbroken),
                  "documentFields is fieldList without line breaks", unbroken);
}

const core::Operation& operation(std::string_view name) {
    const core::Operation* found = core::operationByName(name);
    fuzz::require(found != nullptr, "the catalogue has the operation", name);
    return *found;
}

// The report of an operation that saves a returned document, through its bound logic as the page
// runs it; what it saved is removed again.
void checkDocumentReport(std::string_view name, const core::OperationLogic& logic,
                         std::string_view answer) {
    core::Lines lines;
    try {
        logic.report(answer, lines);
    } catch (const std::exception&) {
        // A report that fails ends there; its lines so far are shown.
    }
    fuzz::requireUtf8(lines, name);
    fuzz::requireUtf8(logic.takeMessages(), "message boxes");
    fuzz::require(fuzz::isUtf8(logic.accessKey()), "access key", logic.accessKey());
    for (const auto& file : logic.writtenFiles()) {
        const std::string saved = fuzz::readFile(file);
        // An empty document is never saved; a saved one ends every line with CR LF.
        fuzz::require(saved.size() >= 2 && saved.ends_with("\r\n"), "saved document", saved);
    }
    std::filesystem::remove_all(fuzz::scratchFolder() / "Retornos");
}

core::OperationLogic bound(std::string_view name, const core::Inputs& inputs) {
    core::OperationContext context;
    context.programFolder = fuzz::scratchFolder();
    const core::Operation& op = operation(name);
    if (name == "EnviarDadosVenda")
        return documents::bindEnviarDadosVenda(op, inputs, context);
    if (name == "TesteFimAFim")
        return documents::bindTesteFimAFim(op, inputs, context);
    return documents::bindCancelarUltimaVenda(op, inputs, context);
}

void checkLinesReport(std::string_view name, core::Lines (*report)(std::string_view),
                      std::string_view answer) {
    try {
        fuzz::requireUtf8(report(answer), name);
    } catch (const std::exception&) {
        // Stopped reports show nothing here (the page keeps what an appending report wrote).
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [selector, answer] = fuzz::splitSelector(data, size);
    core::Inputs inputs;
    inputs.set("codigo", "12345678");
    inputs.set("arquivo", "venda.xml");
    switch (selector % 7) {
    case 0:
        checkCuts(answer);
        break;
    case 1:
        checkLinesReport("status report", &operations::statusReport, answer);
        break;
    case 2:
        checkLinesReport("extended status report", &operations::extendedStatusPageReport, answer);
        break;
    case 3: {
        core::Lines lines;
        operations::logReport(answer, lines);
        fuzz::requireUtf8(lines, "log report");
        break;
    }
    case 4:
        checkDocumentReport("sale report", bound("EnviarDadosVenda", inputs), answer);
        break;
    case 5:
        checkDocumentReport("end-to-end report", bound("TesteFimAFim", inputs), answer);
        break;
    default:
        checkDocumentReport("cancellation report", bound("CancelarUltimaVenda", inputs), answer);
        break;
    }
    return 0;
}
