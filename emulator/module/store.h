#pragma once
// The module's files: the state file, and beside it, named after it, the lock file, the log
// and the folder of kept session answers. A ModuleStore holds the lock for its whole life, so
// every read-modify-write of a call is one indivisible step for every process using the files.

#include "emulator/module/lock.h"
#include "emulator/module/state.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace emulator {

struct ModulePaths {
    explicit ModulePaths(const std::filesystem::path& stateFile);
    std::filesystem::path state;      // estado.json
    std::filesystem::path lock;       // estado.lock
    std::filesystem::path log;        // estado.log
    std::filesystem::path sessions;   // estado-sessoes/
    std::filesystem::path lastFiscal; // estado-sessoes/ultima-fiscal.txt
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
    // an unreadable file has been moved aside (`setAside` then names its new place).
    std::optional<ModuleState> load(std::string_view stamp, std::filesystem::path& setAside);

    // Replaces the state file whole: written under a temporary name, then renamed over it.
    void save(const ModuleState& state);

    // Keeps a session's answer and forgets the oldest beyond the last hundred.
    void keepSession(ModuleState& state, int session, const std::string& answer);

    void keepLastFiscalAnswer(const std::string& answer);

    void appendLog(std::string_view line);

    // Forgets the log and the kept answers, for a module that starts anew.
    void clearRecords();

    std::optional<std::string> sessionAnswer(int session) const override;
    std::string logText() const override;
    std::optional<std::string> lastFiscalAnswer() const override;

private:
    std::filesystem::path sessionFile(int session) const;

    ModulePaths paths_;
    FileLock lock_;
};

// Writes a whole file under a temporary name in the same folder, then renames it over `path`,
// so no reader ever sees it half written. Throws std::runtime_error on failure.
void writeFileWhole(const std::filesystem::path& path, std::string_view bytes);

// The whole content of a file; nothing when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path);

} // namespace emulator
