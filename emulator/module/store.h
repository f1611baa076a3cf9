#pragma once
// The module's files: the state file, and beside it, named after it, the lock file, the log
// and the folder of kept session answers. A ModuleStore holds the lock for its whole life, so
// every read-modify-write of a call is one indivisible step for every process using the files.
// Saving the state is the moment a call takes effect: a process that dies before it leaves the
// module's records as they were, and one that dies after it leaves them complete.

#include "emulator/module/lock.h"
#include "emulator/module/state.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emulator {

struct ModulePaths {
    explicit ModulePaths(const std::filesystem::path& stateFile);
    std::filesystem::path state;      // estado.json
    std::filesystem::path lock;       // estado.lock
    std::filesystem::path log;        // estado.log
    std::filesystem::path sessions;   // estado-sessoes/
    std::filesystem::path lastFiscal; // estado-sessoes/ultima-fiscal.txt
    // The last fiscal answer of a call whose state is not saved yet.
    std::filesystem::path pendingFiscal; // estado-sessoes/ultima-fiscal.pendente
};

// What the operations read of the module's records besides its state.
class ModuleRecords {
public:
    virtual ~ModuleRecords() = default;
    // The answer kept for a session, or nothing when it is not among the kept ones.
    virtual std::optional<std::string> sessionAnswer(int session) const = 0;
    // The whole log, one CRLF-ended line per call.
    virtual std::string logText() const = 0;
    // The answer of the last sale or cancellation, or nothing before the first.
    virtual std::optional<std::string> lastFiscalAnswer() const = 0;
};

class ModuleStore : public ModuleRecords {
public:
    // Creates the folder when missing and waits for the lock.
    explicit ModuleStore(const ModulePaths& paths);

    // The stored state; nothing when there is no state file or it cannot be read, in which case
    // an unreadable file has been moved aside (`setAside` then names its new place). The last
    // fiscal answer of a call that died is put in place when its state was saved, else dropped.
    std::optional<ModuleState> load(std::string_view stamp, std::filesystem::path& setAside);

    // Replaces the state file whole (written under a temporary name, flushed to the disk, then
    // renamed over it), and then completes the records kept and forgotten for it.
    void save(const ModuleState& state);

    // Keeps a session's answer and forgets the oldest beyond the last hundred; their answers
    // are deleted once the state is saved.
    void keepSession(ModuleState& state, int session, const std::string& answer);

    // Keeps the answer of a sale or cancellation (whatever its code) as the last fiscal one,
    // in place once the state is saved.
    void keepLastFiscalAnswer(ModuleState& state, const std::string& answer);

    void appendLog(std::string_view line);

    // Forgets the log and the kept answers, for a module that starts anew.
    void clearRecords();

    std::optional<std::string> sessionAnswer(int session) const override;
    std::string logText() const override;
    std::optional<std::string> lastFiscalAnswer() const override;

private:
    std::filesystem::path sessionFile(int session) const;
    // Puts the pending last fiscal answer in place when `state` is the one saved with it, or
    // drops it when its call died before that.
    void settleLastFiscalAnswer(const ModuleState& state);

    ModulePaths paths_;
    FileLock lock_;
    std::vector<int> forgotten_; // sessions whose answers go once the state is saved
    bool fiscalPending_ = false; // a last fiscal answer waits for the state to be saved
};

// Writes a whole file under a temporary name in the same folder, flushes it to the disk, then
// renames it over `path`, so neither a reader nor a crash ever finds it half written. Throws
// std::runtime_error on failure.
void writeFileWhole(const std::filesystem::path& path, std::string_view bytes);

// The whole content of a file; nothing when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path);

} // namespace emulator
