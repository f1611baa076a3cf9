#include "journal/sqlite_handle.h"

#include "core/path_text.h"

#include <sqlite3.h>

namespace journal {
namespace {

[[noreturn]] void fail(sqlite3* db, int code, std::string_view what) {
    std::string message(what);
    message += ": ";
    message += db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw SqliteError(code, message);
}

} // namespace

bool SqliteError::damaged() const {
    const int primary = code_ & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

bool SqliteError::busy() const {
    const int primary = code_ & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

Connection::Connection(const std::filesystem::path& file) {
    const int code = sqlite3_open_v2(
        core::utf8FromPath(file).c_str(), &db_,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError(code, "abrir " + core::utf8FromPath(file) + ": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
    // The write-ahead log is kept (emptied) when the last connection closes: a run of tarvik then
    // neither deletes nor creates it, each of which costs a flush of the folder to disk.
    int persist = 1;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
}

Connection::~Connection() {
    sqlite3_close_v2(db_);
}

void Connection::execute(const char* sql) {
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(db_, code, sql);
}

std::int64_t Connection::number(const char* sql) {
    Statement statement(*this, sql);
    return statement.step() ? statement.number(0) : 0;
}

std::int64_t Connection::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

std::int64_t Connection::changes() const {
    return sqlite3_changes(db_);
}

Statement::Statement(Connection& connection, std::string_view sql) : connection_(connection) {
    const int code =
        sqlite3_prepare_v2(connection.handle(), sql.data(), int(sql.size()), &statement_, nullptr);
    if (code != SQLITE_OK)
        fail(connection.handle(), code, sql);
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement& Statement::bound(int code) {
    if (code != SQLITE_OK)
        fail(connection_.handle(), code, "bind");
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    return bound(
        sqlite3_bind_text(statement_, index, text.data(), int(text.size()), SQLITE_TRANSIENT));
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
    return bound(
        sqlite3_bind_blob(statement_, index, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT));
}

Statement& Statement::bind(int index, std::int64_t number) {
    return bound(sqlite3_bind_int64(statement_, index, number));
}

bool Statement::step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    fail(connection_.handle(), code, sqlite3_sql(statement_));
}

void Statement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::string Statement::text(int column) const {
    const void* bytes = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return bytes ? std::string(static_cast<const char*>(bytes), std::size_t(size)) : std::string();
}

std::int64_t Statement::number(int column) const {
    return sqlite3_column_int64(statement_, column);
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!done_)
        sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    connection_.execute("COMMIT");
    done_ = true;
}

} // namespace journal
