#include "access/integrador_backend.h"

#include "access/integrador_answer.h"
#include "access/integrador_request.h"
#include "core/text.h"
#include "core/whole_file.h"

#include <stdexcept>

namespace backend {

IntegradorBackend::IntegradorBackend(IntegradorFolders folders, core::SharedState& state,
                                     std::optional<std::chrono::milliseconds> waitLimit)
    : folders_(std::move(folders)), state_(state), waitLimit_(waitLimit) {}

std::string IntegradorBackend::call(const core::Operation& operation,
                                    const core::Arguments& arguments) {
    return ChamaIntegrador(operation, arguments);
}

std::string IntegradorBackend::ChamaIntegrador(const core::Operation& operation,
                                               const core::Arguments& arguments) {
    skipped_.clear();
    const std::string identificador = state_.requestIdentifier;
    const int identifier = core::toInt(identificador);
    const std::string document = requestDocument(operation, identificador, arguments);

    // cancel() reaches this call from here on: a cancel that comes while the request is still
    // being written ends the wait as soon as it would begin.
    struct InProgress {
        IntegradorBackend& self;
        explicit InProgress(IntegradorBackend& backend) : self(backend) {
            std::lock_guard lock(self.calling_);
            self.cancelled_ = false;
            self.inProgress_ = true;
        }
        ~InProgress() {
            std::lock_guard lock(self.calling_);
            self.inProgress_ = false;
        }
    } inProgress(*this);

    // Watching starts before the request exists, so no answer can slip by unnoticed.
    watch_.watch(folders_.output);
    std::string error;
    if (!core::writeFileWhole(folders_.input / requestFileName(operation, identificador), document,
                              error, core::FlushToDisk::No)) {
        outcome_ = Outcome::NotWritten;
        return integradorWriteFailure();
    }

    const auto deadline = AnswerReader::Clock::now() + waitLimit_.value_or(operation.waitLimit);
    AnswerReader reader(folders_.output, deadline, cancelled_);
    int result = 0;
    while ((result = reader.LeRespostaIntegrador(identifier)) == 0)
        watch_.waitForChange(deadline);

    skipped_ = reader.skipped();
    if (reader.answerDocument())
        state_.answerDocument = *reader.answerDocument();
    outcome_ = result == 1  ? Outcome::Answered
               : cancelled_ ? Outcome::Cancelled
                            : Outcome::TimedOut;
    return result == 1 ? reader.answer() : busyAnswer(operation, arguments.at(0).number);
}

void IntegradorBackend::cancel() {
    std::lock_guard lock(calling_);
    if (!inProgress_)
        return;
    cancelled_ = true;
    watch_.interrupt();
}

} // namespace backend
