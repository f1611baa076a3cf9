#include "core/execution.h"

#include "core/workflow.h"

#include <cstddef>
#include <stdexcept>

namespace core {

Report appendingReport(Lines (*report)(std::string_view answer)) {
    return [report](std::string_view answer, Lines& lines) {
        Lines written = report(answer);
        lines.insert(lines.end(), written.begin(), written.end());
    };
}

Shown mostrar(ModuleAccess& access, const Operation& operation, const Prepare& prepare) {
    SharedState& state = access.state();
    state.sessionNumber = access.drawSessionNumber();
    Shown shown{prepare(state.sessionNumber), {}};
    state.callText = shown.call.text;
    shown.commandBox.push_back(shown.call.text);
    if (access.integradorMode()) {
        const Lines preview = access.requestPreview(operation, shown.call.arguments);
        shown.commandBox.insert(shown.commandBox.end(), preview.begin(), preview.end());
    }
    return shown;
}

Executed executar(ModuleAccess& access, const Operation& operation, const PreparedCall& call,
                  const Report& report) {
    if (!call.unsendable.empty())
        throw std::invalid_argument(call.unsendable);
    Executed done;
    done.answer = access.callModule(operation, call.arguments);
    access.state().sentSessionNumber = access.state().sessionNumber;
    access.state().answer = done.answer;
    if (report) {
        try {
            report(done.answer, done.report);
        } catch (...) {
            // A report that fails stops silently.
        }
    }
    const bool integrador = access.integradorMode();
    if (integrador)
        done.answerDocument = access.answerDocumentForDisplay();
    done.answerBox = answerBox(integrador, done.answerDocument, done.answer, done.report);
    if (access.lastCallEnd() == CallEnd::Cancelled)
        done.answerBox.insert(done.answerBox.end() - std::ptrdiff_t(done.report.size()),
                              std::string(cancelledCallLine));
    return done;
}

} // namespace core
