#pragma once
// Keeps a front end's calls in the journal without ever delaying or breaking them: the journal
// is opened when the first call is kept, and a journal that cannot be written costs one warning
// line, after which the call's result stands as it was.

#include "core/call_attempt.h"
#include "journal/call_entry.h"
#include "journal/journal_file.h"

#include <filesystem>
#include <memory>
#include <string>

namespace journal {

// Where the calls come from, the same for every call of one front end and access mode.
struct CallSource {
    std::string frontEnd;   // "janela" or "tarvik"
    std::string accessMode; // "DLL" or "INTEGRADOR"
    std::string target;     // the library's path and version, or the Integrador folder
    std::string layout;
};

// The journal's entry for an attempt: outcome, masked texts and inputs, the written files'
// SHA-256 digests.
CallEntry entryFor(const core::CallAttempt& attempt, const CallSource& source);

class CallRecorder {
public:
    CallRecorder(std::filesystem::path journalFile, Retention retention);

    // Opens the journal, once, and prunes it to the retention limits. Returns the lines to show
    // the user: the notice of a journal set aside, or one warning when it cannot be opened.
    std::vector<std::string> start();

    // Keeps the attempt. Returns the lines to show the user: the notice of a journal set aside,
    // or one warning when the call could not be kept; nothing when all went well.
    std::vector<std::string> keep(const core::CallAttempt& attempt, const CallSource& source);

private:
    std::filesystem::path file_;
    Retention retention_;
    std::unique_ptr<Journal> journal_;
    std::string reportedNotice_;
};

} // namespace journal
