#pragma once
// A library call that never answered because the process running the library ended during it:
// the library crashed, aborted or was stopped by a cancel.

#include "core/catalogue.h"

#include <stdexcept>
#include <string>

namespace backend {

class LibraryEnded : public std::runtime_error {
public:
    enum class Cause {
        Crashed,   // the library ended its process (a signal, an abort, an exit code)
        Cancelled, // the user cancelled the call, which ended the process
    };
    LibraryEnded(Cause cause, const std::string& message)
        : std::runtime_error(message), cause_(cause) {}
    Cause cause() const { return cause_; }

private:
    Cause cause_;
};

// What the answer box shows for a call that ended so: the crash's message, or for a cancelled
// call the module's busy answer, as for a cancelled Integrador call.
std::string answerOfEndedCall(const LibraryEnded& ended, const core::Operation& operation,
                              int numeroSessao);

} // namespace backend
