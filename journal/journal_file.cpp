#include "journal/journal_file.h"

#include "core/path_text.h"
#include "core/time_of_day.h"
#include "journal/search_folding.h"

#include <sqlite3.h>

#include <algorithm>
#include <ctime>
#include <random>
#include <system_error>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace journal {
namespace {

using std::chrono::duration_cast;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using Clock = std::chrono::system_clock;

// How long a step waits for another instance that holds the file.
constexpr milliseconds busyTimeout(10000);

// A file written by a later program whose schema this one does not know.
struct NewerFile {
    std::int64_t version;
};

constexpr const char* schema = R"(
CREATE TABLE IF NOT EXISTS calls (
    id INTEGER PRIMARY KEY,
    start_utc_ms INTEGER NOT NULL,
    start_local TEXT NOT NULL,
    duration_us INTEGER NOT NULL,
    program_version TEXT NOT NULL,
    front_end TEXT NOT NULL,
    access_mode TEXT NOT NULL,
    target TEXT NOT NULL,
    layout TEXT NOT NULL,
    operation TEXT NOT NULL,
    session TEXT NOT NULL,
    call_text TEXT NOT NULL,
    request TEXT NOT NULL,
    answer BLOB NOT NULL,
    answer_code TEXT NOT NULL,
    outcome TEXT NOT NULL,
    message TEXT NOT NULL,
    inputs TEXT NOT NULL,
    report TEXT NOT NULL
);
CREATE INDEX IF NOT EXISTS calls_by_start ON calls(start_utc_ms);
CREATE TABLE IF NOT EXISTS written_files (
    call INTEGER NOT NULL REFERENCES calls(id) ON DELETE CASCADE,
    path TEXT NOT NULL,
    sha256 TEXT NOT NULL
);
CREATE INDEX IF NOT EXISTS written_files_by_call ON written_files(call);
)";

constexpr const char* columns =
    "id, start_utc_ms, start_local, duration_us, program_version, front_end, access_mode, "
    "target, layout, operation, session, call_text, request, answer, answer_code, outcome, "
    "message, inputs, report";

// Created empty and private before SQLite opens it: SQLite gives its WAL and shared-memory files
// the database file's permissions.
void createPrivate(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
#ifndef _WIN32
    const int fd = ::open(file.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
#endif
}

std::string stamp(Clock::time_point when) {
    const std::tm local = core::localCalendar(when);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

CallEntry readEntry(const Statement& row) {
    CallEntry entry;
    entry.id = row.number(0);
    entry.start = Clock::time_point(duration_cast<Clock::duration>(milliseconds(row.number(1))));
    entry.startLocal = row.text(2);
    entry.duration = microseconds(row.number(3));
    entry.programVersion = row.text(4);
    entry.frontEnd = row.text(5);
    entry.accessMode = row.text(6);
    entry.target = row.text(7);
    entry.layout = row.text(8);
    entry.operation = row.text(9);
    entry.session = row.text(10);
    entry.callText = row.text(11);
    entry.request = row.text(12);
    entry.answer = row.text(13);
    entry.answerCode = row.text(14);
    entry.outcome = outcomeNamed(row.text(15)).value_or(Outcome::Answered);
    entry.message = row.text(16);
    entry.inputs = row.text(17);
    entry.report = row.text(18);
    return entry;
}

std::int64_t epochMs(Clock::time_point when) {
    return duration_cast<milliseconds>(when.time_since_epoch()).count();
}

// contains_folded(haystack, needle): 1 when the haystack, folded for a search, holds the needle,
// which the caller folded. SQLite's LIKE folds ASCII letters alone; a stored answer may hold
// bytes that are not UTF-8, which fold as themselves.
void containsFolded(sqlite3_context* context, int, sqlite3_value** args) {
    const auto* haystack = static_cast<const char*>(sqlite3_value_blob(args[0]));
    const auto* needle = static_cast<const char*>(sqlite3_value_blob(args[1]));
    if (!haystack || !needle) {
        sqlite3_result_int(context, 0);
        return;
    }
    std::string folded;
    foldForSearch({haystack, std::size_t(sqlite3_value_bytes(args[0]))}, folded);
    const std::string_view wanted(needle, std::size_t(sqlite3_value_bytes(args[1])));
    sqlite3_result_int(context, folded.find(wanted) != std::string::npos);
}

} // namespace

std::filesystem::path journalPath(const std::filesystem::path& dataFolder) {
    return dataFolder / "historico.sqlite";
}

Journal::Journal(std::filesystem::path file) : file_(std::move(file)) {
    try {
        open();
    } catch (const SqliteError& e) {
        if (!e.damaged())
            throw;
        setAside(e.what(), ".corrompido-");
        open();
    } catch (const NewerFile& newer) {
        setAside("versão " + std::to_string(newer.version) + " do histórico, mais nova que a " +
                     std::to_string(schemaVersion) + " deste programa",
                 ".versao-" + std::to_string(newer.version) + "-");
        open();
    }
}

// Instances that open the file at the same moment can refuse each other a step of the set-up at
// once, without the busy timeout: the switch to WAL mode in particular. The set-up is then tried
// again on a fresh connection, after a short random pause, until the busy timeout has passed.
void Journal::open() {
    const auto deadline = std::chrono::steady_clock::now() + busyTimeout;
    std::minstd_rand jitter{std::random_device{}()};
    for (milliseconds longest(2);; longest = std::min(longest * 2, milliseconds(64))) {
        connection_.reset();
        createPrivate(file_);
        try {
            connection_ = std::make_unique<Connection>(file_);
            prepare();
            return;
        } catch (const SqliteError& e) {
            if (!e.busy() || std::chrono::steady_clock::now() + longest >= deadline)
                throw;
        }
        const auto pause = std::uniform_int_distribution<long long>(1, longest.count())(jitter);
        std::this_thread::sleep_for(milliseconds(pause));
    }
}

void Journal::prepare() {
    Connection& db = *connection_;
    if (sqlite3_create_function_v2(db.handle(), "contains_folded", 2,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, containsFolded,
                                   nullptr, nullptr, nullptr) != SQLITE_OK)
        throw SqliteError(sqlite3_errcode(db.handle()), sqlite3_errmsg(db.handle()));
    // Another instance may be writing: wait for it rather than fail.
    db.execute(("PRAGMA busy_timeout = " + std::to_string(busyTimeout.count())).c_str());
    const std::int64_t version = db.number("PRAGMA user_version");
    if (version > schemaVersion)
        throw NewerFile{version};
    if (version == 0)
        db.execute("PRAGMA auto_vacuum = INCREMENTAL");
    db.execute("PRAGMA journal_mode = WAL");
    // In WAL mode a committed call survives the process being killed; only a power cut may
    // lose the last ones.
    db.execute("PRAGMA synchronous = NORMAL");
    db.execute("PRAGMA foreign_keys = ON");
    if (version == schemaVersion)
        return;
    Transaction transaction(db);
    // Two instances may find the file new at once: the second finds it made.
    if (db.number("PRAGMA user_version") == 0) {
        db.execute(schema);
        db.execute(("PRAGMA user_version = " + std::to_string(schemaVersion)).c_str());
    }
    transaction.commit();
}

void Journal::setAside(const std::string& reason, const std::string& suffix) {
    connection_.reset();
    const std::string tail = suffix + stamp(Clock::now());
    std::filesystem::path aside = file_;
    aside += tail;
    std::filesystem::rename(file_, aside);
    for (const char* companion : {"-wal", "-shm"}) {
        std::filesystem::path from = file_, to = aside;
        from += companion;
        to += companion;
        std::error_code ignored;
        std::filesystem::rename(from, to, ignored);
    }
    notice_ = "O histórico " + core::utf8FromPath(file_) + " não pôde ser usado (" + reason +
              "); foi guardado como " + core::utf8FromPath(aside) + " e um novo foi iniciado.";
}

std::int64_t Journal::record(const CallEntry& entry) {
    try {
        return insert(entry);
    } catch (const SqliteError& e) {
        if (!e.damaged())
            throw;
        setAside(e.what(), ".corrompido-");
        open();
        return insert(entry);
    }
}

std::int64_t Journal::insert(const CallEntry& entry) {
    Connection& db = *connection_;
    Transaction transaction(db);
    Statement call(db, "INSERT INTO calls (start_utc_ms, start_local, duration_us, "
                       "program_version, front_end, access_mode, target, layout, operation, "
                       "session, call_text, request, answer, answer_code, outcome, message, "
                       "inputs, report) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    call.bind(1, epochMs(entry.start))
        .bind(2, entry.startLocal)
        .bind(3, std::int64_t(entry.duration.count()))
        .bind(4, entry.programVersion)
        .bind(5, entry.frontEnd)
        .bind(6, entry.accessMode)
        .bind(7, entry.target)
        .bind(8, entry.layout)
        .bind(9, entry.operation)
        .bind(10, entry.session)
        .bind(11, entry.callText)
        .bind(12, entry.request)
        .bindBlob(13, entry.answer)
        .bind(14, entry.answerCode)
        .bind(15, outcomeName(entry.outcome))
        .bind(16, entry.message)
        .bind(17, entry.inputs)
        .bind(18, entry.report);
    call.step();
    const std::int64_t id = db.lastInsertId();
    Statement file(db, "INSERT INTO written_files (call, path, sha256) VALUES (?,?,?)");
    for (const WrittenFile& written : entry.files) {
        file.bind(1, id).bind(2, written.path).bind(3, written.sha256);
        file.step();
        file.reset();
    }
    transaction.commit();
    return id;
}

std::vector<CallEntry> Journal::find(const Filter& filter) {
    std::string sql = std::string("SELECT ") + columns + " FROM calls WHERE 1";
    if (filter.from)
        sql += " AND start_utc_ms >= :from";
    if (filter.to)
        sql += " AND start_utc_ms < :to";
    if (!filter.operation.empty())
        sql += " AND operation = :operation";
    if (!filter.answerCode.empty())
        sql += " AND answer_code = :code";
    if (!filter.text.empty())
        sql += " AND (contains_folded(call_text, :text) OR contains_folded(answer, :text))";
    sql += " ORDER BY start_utc_ms DESC, id DESC";
    if (filter.limit)
        sql += " LIMIT " + std::to_string(filter.limit);
    Statement query(*connection_, sql);
    int index = 0;
    if (filter.from)
        query.bind(++index, epochMs(*filter.from));
    if (filter.to)
        query.bind(++index, epochMs(*filter.to));
    if (!filter.operation.empty())
        query.bind(++index, filter.operation);
    if (!filter.answerCode.empty())
        query.bind(++index, filter.answerCode);
    if (!filter.text.empty())
        query.bind(++index, foldedForSearch(filter.text));
    std::vector<CallEntry> found;
    while (query.step())
        found.push_back(readEntry(query));
    for (CallEntry& entry : found)
        readFiles(entry);
    return found;
}

std::optional<CallEntry> Journal::entry(std::int64_t id) {
    Statement query(*connection_, std::string("SELECT ") + columns + " FROM calls WHERE id = ?");
    query.bind(1, id);
    if (!query.step())
        return std::nullopt;
    CallEntry found = readEntry(query);
    readFiles(found);
    return found;
}

void Journal::readFiles(CallEntry& entry) {
    Statement query(*connection_,
                    "SELECT path, sha256 FROM written_files WHERE call = ? ORDER BY rowid");
    query.bind(1, entry.id);
    while (query.step())
        entry.files.push_back({query.text(0), query.text(1)});
}

std::vector<std::string> Journal::operations() {
    Statement query(*connection_, "SELECT DISTINCT operation FROM calls ORDER BY operation");
    std::vector<std::string> names;
    while (query.step())
        names.push_back(query.text(0));
    return names;
}

std::size_t Journal::prune(const Retention& retention, Clock::time_point now) {
    Connection& db = *connection_;
    std::size_t deleted = 0;
    {
        Transaction transaction(db);
        Statement old(db, "DELETE FROM calls WHERE start_utc_ms < ?");
        old.bind(1, epochMs(now - retention.maxAge));
        old.step();
        deleted += std::size_t(db.changes());
        transaction.commit();
    }
    auto used = [&db] {
        return std::uint64_t(db.number("PRAGMA page_count") - db.number("PRAGMA freelist_count")) *
               std::uint64_t(db.number("PRAGMA page_size"));
    };
    while (used() > retention.maxBytes) {
        const std::int64_t count = db.number("SELECT count(*) FROM calls");
        if (count == 0)
            break;
        // The oldest twentieth at a time: few passes, and little more deleted than needed.
        Transaction transaction(db);
        Statement oldest(db, "DELETE FROM calls WHERE id IN (SELECT id FROM calls ORDER BY "
                             "start_utc_ms, id LIMIT ?)");
        oldest.bind(1, std::max<std::int64_t>(1, count / 20));
        oldest.step();
        deleted += std::size_t(db.changes());
        transaction.commit();
    }
    if (deleted) {
        db.execute("PRAGMA incremental_vacuum");
        db.execute("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    return deleted;
}

} // namespace journal
