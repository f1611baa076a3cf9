#include "access/library_ended.h"

#include "access/integrador_answer.h"

namespace backend {

std::string answerOfEndedCall(const LibraryEnded& ended, const core::Operation& operation,
                              int numeroSessao) {
    if (ended.cause() == LibraryEnded::Cause::Cancelled)
        return busyAnswer(operation, numeroSessao);
    return ended.what();
}

} // namespace backend
