#pragma once
// The journal's SQLite file, shared by the window, `tarvik` and concurrent instances of both:
// WAL mode with a busy timeout so writers queue instead of failing, readable by its owner alone,
// its schema version in PRAGMA user_version. A file that is damaged or of a newer version is
// renamed aside (one message says where) and a new one is started.

#include "journal/call_entry.h"
#include "journal/sqlite_handle.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace journal {

inline constexpr int schemaVersion = 1;

// The journal's file in the program's data folder.
std::filesystem::path journalPath(const std::filesystem::path& dataFolder);

struct Filter {
    std::optional<std::chrono::system_clock::time_point> from; // inclusive
    std::optional<std::chrono::system_clock::time_point> to;   // exclusive
    std::string operation;                                     // exact name; empty: any
    std::string answerCode;                                    // exact code; empty: any
    std::string text;      // found in the call text or the answer, ignoring case and accents
    std::size_t limit = 0; // newest first; 0: every call
};

struct Retention {
    std::chrono::hours maxAge{90 * 24};
    std::uint64_t maxBytes = 200ull * 1024 * 1024;
};

class Journal {
public:
    explicit Journal(std::filesystem::path file);

    // Why the file found was set aside, or empty.
    const std::string& notice() const { return notice_; }
    const std::filesystem::path& file() const { return file_; }

    // Keeps the call and its files in one transaction; returns its id. Once this returns, the
    // call survives the process being killed.
    std::int64_t record(const CallEntry& entry);

    // Newest first. The answer and the request are read too: a filter limits the count.
    std::vector<CallEntry> find(const Filter& filter);
    std::optional<CallEntry> entry(std::int64_t id);
    // The operations the journal holds calls of, by name.
    std::vector<std::string> operations();

    // Deletes calls older than the age limit, then the oldest until the calls take no more
    // than the size limit; returns how many were deleted.
    std::size_t prune(const Retention& retention,
                      std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

private:
    void open();
    void prepare();
    void setAside(const std::string& reason, const std::string& suffix);
    std::int64_t insert(const CallEntry& entry);
    void readFiles(CallEntry& entry);

    std::filesystem::path file_;
    std::unique_ptr<Connection> connection_;
    std::string notice_;
};

} // namespace journal
