#pragma once
// A thin owner of one SQLite connection and its prepared statements: errors become exceptions
// that carry SQLite's result code, so a caller can tell a damaged file from a busy one.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace journal {

class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }
    // The file is not a database, or its pages are damaged.
    bool damaged() const;
    // Another connection holds a lock this step needed.
    bool busy() const;

private:
    int code_;
};

class Connection {
public:
    explicit Connection(const std::filesystem::path& file);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void execute(const char* sql);
    // The first column of the first row of a query that returns one number.
    std::int64_t number(const char* sql);
    std::int64_t lastInsertId() const;
    // Rows the last INSERT, UPDATE or DELETE changed.
    std::int64_t changes() const;
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement(Connection& connection, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binding counts from 1, as SQLite's parameters do.
    Statement& bind(int index, std::string_view text);
    Statement& bindBlob(int index, std::string_view bytes);
    Statement& bind(int index, std::int64_t number);
    // True while there is a row to read.
    bool step();
    void reset();

    std::string text(int column) const; // a blob reads as its bytes
    std::int64_t number(int column) const;

private:
    // Throws for a binding SQLite refused.
    Statement& bound(int code);

    Connection& connection_;
    sqlite3_stmt* statement_ = nullptr;
};

// Runs a statement to its end inside a transaction started with BEGIN IMMEDIATE, so that a
// writer waits for another writer under the busy timeout instead of failing in the middle.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

} // namespace journal
