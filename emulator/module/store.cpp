#include "emulator/module/store.h"

#include "core/disk_sync.h"
#include "core/path_text.h"
#include "emulator/module/owner_only.h"
#include "emulator/sale/crypto.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace emulator {
namespace fs = std::filesystem;
namespace {

// The log is cut back to its newest half when it grows past this size.
constexpr std::uintmax_t maxLogBytes = 4 * 1024 * 1024;

// The state file's name without its extension, `tail` (ASCII) added, then `extension`.
fs::path sibling(const fs::path& state, const std::string& tail, const fs::path& extension = {}) {
    fs::path name = state.stem();
    name += tail;
    name += extension;
    return state.parent_path() / name;
}

fs::path lockOf(const ModulePaths& paths) {
    ensureOwnerOnlyFolder(paths.state.parent_path());
    return paths.lock;
}

} // namespace

ModulePaths::ModulePaths(const fs::path& stateFile)
    : state(stateFile), lock(sibling(stateFile, ".lock")), log(sibling(stateFile, ".log")),
      sessions(sibling(stateFile, "-sessoes")), lastFiscal(sessions / "ultima-fiscal.txt"),
      pendingFiscal(sessions / "ultima-fiscal.pendente") {}

void writeFileWhole(const fs::path& path, std::string_view bytes) {
    fs::path temporary = path;
    temporary += ".tmp";
    if (!prepareOwnerOnlyFile(temporary, true))
        throw std::runtime_error("não foi possível gravar " + core::utf8FromPath(temporary));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out || !core::syncToDisk(temporary))
            throw std::runtime_error("não foi possível gravar " + core::utf8FromPath(temporary));
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error)
        throw std::runtime_error("não foi possível gravar " + core::utf8FromPath(path) + ": " +
                                 error.message());
}

std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return text;
}

ModuleStore::ModuleStore(const ModulePaths& paths) : paths_(paths), lock_(lockOf(paths)) {}

std::optional<ModuleState> ModuleStore::load(std::string_view stamp, fs::path& setAside) {
    std::error_code error;
    if (!fs::exists(paths_.state, error))
        return std::nullopt;
    if (const auto text = readFile(paths_.state)) {
        std::optional<ModuleState> state;
        try {
            state = fromJson(*text);
        } catch (const std::exception&) {
        }
        if (state) {
            settleLastFiscalAnswer(*state);
            return state;
        }
    }
    const std::string tail = ".corrompido-" + std::string(stamp);
    setAside = sibling(paths_.state, tail, paths_.state.extension());
    for (int n = 2; fs::exists(setAside, error); ++n)
        setAside = sibling(paths_.state, tail + "-" + std::to_string(n), paths_.state.extension());
    fs::rename(paths_.state, setAside, error);
    if (error)
        throw std::runtime_error("estado ilegível que não pôde ser posto de lado: " +
                                 core::utf8FromPath(paths_.state));
    return std::nullopt;
}

void ModuleStore::save(const ModuleState& state) {
    writeFileWhole(paths_.state, toJson(state));
    // Saved: what the call wrote for it beside the state now belongs to the module.
    for (const int session : forgotten_) {
        std::error_code ignored;
        fs::remove(sessionFile(session), ignored);
    }
    forgotten_.clear();
    if (fiscalPending_) {
        std::error_code ignored; // a failed rename is settled by the next load
        fs::rename(paths_.pendingFiscal, paths_.lastFiscal, ignored);
        fiscalPending_ = false;
    }
}

void ModuleStore::settleLastFiscalAnswer(const ModuleState& state) {
    std::error_code error;
    if (!fs::exists(paths_.pendingFiscal, error))
        return;
    const auto pending = readFile(paths_.pendingFiscal);
    if (pending && !state.lastFiscalDigest.empty() && sha256Hex(*pending) == state.lastFiscalDigest)
        fs::rename(paths_.pendingFiscal, paths_.lastFiscal, error);
    else
        fs::remove(paths_.pendingFiscal, error);
}

fs::path ModuleStore::sessionFile(int session) const {
    char name[32];
    std::snprintf(name, sizeof name, "%06d.txt", session);
    return paths_.sessions / name;
}

void ModuleStore::keepSession(ModuleState& state, int session, const std::string& answer) {
    ensureOwnerOnlyFolder(paths_.sessions);
    writeFileWhole(sessionFile(session), answer);
    auto& kept = state.sessions;
    kept.erase(std::remove(kept.begin(), kept.end(), session), kept.end());
    kept.push_back(session);
    while (kept.size() > keptSessions) {
        forgotten_.push_back(kept.front());
        kept.erase(kept.begin());
    }
}

void ModuleStore::keepLastFiscalAnswer(ModuleState& state, const std::string& answer) {
    ensureOwnerOnlyFolder(paths_.sessions);
    writeFileWhole(paths_.pendingFiscal, answer);
    state.lastFiscalDigest = sha256Hex(answer);
    fiscalPending_ = true;
}

void ModuleStore::appendLog(std::string_view line) {
    std::error_code error;
    if (fs::exists(paths_.log, error) && fs::file_size(paths_.log, error) > maxLogBytes) {
        const std::string text = readFile(paths_.log).value_or(std::string{});
        const auto cut = text.find("\r\n", text.size() / 2);
        writeFileWhole(paths_.log, cut == std::string::npos
                                       ? std::string_view{}
                                       : std::string_view(text).substr(cut + 2));
    }
    prepareOwnerOnlyFile(paths_.log, false);
    std::ofstream out(paths_.log, std::ios::binary | std::ios::app);
    out << line << "\r\n";
}

void ModuleStore::clearRecords() {
    std::error_code ignored;
    fs::remove_all(paths_.sessions, ignored);
    fs::remove(paths_.log, ignored);
}

std::optional<std::string> ModuleStore::sessionAnswer(int session) const {
    return readFile(sessionFile(session));
}

std::optional<std::string> ModuleStore::lastFiscalAnswer() const {
    return readFile(paths_.lastFiscal);
}

std::string ModuleStore::logText() const {
    return readFile(paths_.log).value_or(std::string{});
}

} // namespace emulator
