#pragma once
// Integrador access mode: the request file goes into the Integrador's input folder and the
// answer is awaited in its output folder. The window runs call() on a worker thread and may
// end the wait from its own thread with cancel().

#include "access/answer_reader.h"
#include "access/folder_watch.h"
#include "access/integrador_folders.h"
#include "core/module_backend.h"
#include "core/shared_state.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <vector>

namespace backend {

class IntegradorBackend : public core::ModuleBackend {
public:
    // Reads the request identifier from `state` and writes its answer document there. Each call
    // waits for the operation's own limit, or for `waitLimit` when one is given.
    IntegradorBackend(IntegradorFolders folders, core::SharedState& state,
                      std::optional<std::chrono::milliseconds> waitLimit = std::nullopt);

    // ChamaIntegrador.
    std::string call(const core::Operation& operation, const core::Arguments& arguments) override;

    // Writes the request file; then waits for its answer file and returns its answer, or the
    // operation's busy answer at the wait limit or on cancel(). When the request cannot be
    // written the answer is the write-failure message, at once. Throws std::invalid_argument
    // when the shared request identifier is not a number.
    std::string ChamaIntegrador(const core::Operation& operation, const core::Arguments& arguments);

    // Ends the wait of the call in progress at once, with the busy answer; while the request is
    // still being written, the wait ends as soon as it would begin. Ignored while no call is in
    // progress. Safe from any thread.
    void cancel();

    // The unreadable answer files the last call gave up, to be named to the user.
    const std::vector<SkippedFile>& skippedFiles() const { return skipped_; }

    // How the last call ended; all but Answered hand back an answer the program made up.
    enum class Outcome { Answered, NotWritten, TimedOut, Cancelled };
    Outcome lastOutcome() const { return outcome_; }

private:
    IntegradorFolders folders_;
    core::SharedState& state_;
    std::optional<std::chrono::milliseconds> waitLimit_;
    std::vector<SkippedFile> skipped_;
    Outcome outcome_ = Outcome::Answered;

    FolderWatch watch_;
    std::atomic<bool> cancelled_{false};
    std::mutex calling_; // guards inProgress_
    bool inProgress_ = false;
};

} // namespace backend
