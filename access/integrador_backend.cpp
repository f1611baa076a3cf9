#include "access/integrador_backend.h"

#include "access/integrador_answer.h"
#include "access/integrador_request.h"
#include "access/whole_file.h"
#include "core/text.h"

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

    // Watching starts before the request exists, so no answer can slip by unnoticed.
    watch_.watch(folders_.output);
    std::string error;
    if (!writeFileWhole(folders_.input / requestFileName(operation, identificador), document,
                        error)) {
        outcome_ = Outcome::NotWritten;
        return integradorWriteFailure();
    }

    const auto deadline = AnswerReader::Clock::now() + waitLimit_.value_or(operation.waitLimit);
    // cancel() reaches this wait, and only while it lasts.
    struct Waiting {
        IntegradorBackend& self;
        explicit Waiting(IntegradorBackend& backend) : self(backend) {
            std::lock_guard lock(self.waiting_);
            self.cancelled_ = false;
            self.waitingNow_ = true;
        }
        ~Waiting() {
            std::lock_guard lock(self.waiting_);
            self.waitingNow_ = false;
        }
    } waiting(*this);

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
    std::lock_guard lock(waiting_);
    if (!waitingNow_)
        return;
    cancelled_ = true;
    watch_.interrupt();
}

} // namespace backend
