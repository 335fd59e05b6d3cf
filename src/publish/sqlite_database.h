#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// A SQLite call failed; the message names the file and SQLite's reason.
class SqliteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One prepared statement of an open database. Values are bound by position (from 1).
class SqliteStatement {
  public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* database, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& Bind(int position, std::int64_t value);
    SqliteStatement& Bind(int position, double value);
    SqliteStatement& Bind(int position, std::string_view text);
    // Empty text is bound as NULL, like an empty optional.
    SqliteStatement& BindTextOrNull(int position, std::string_view text);
    template <class T>
    SqliteStatement& Bind(int position, const std::optional<T>& value) {
        return value ? Bind(position, *value) : BindNull(position);
    }
    SqliteStatement& BindNull(int position);

    // Runs one step: true when a row is ready to be read. Throws SqliteError.
    bool Step();
    // Runs a statement that returns no rows to its end, then makes it ready again.
    void Run();
    // Clears the bindings and makes the statement ready for the next run.
    void Reset();

    bool IsNull(int column) const;
    std::int64_t Integer(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;

  private:
    sqlite3_stmt* statement_ = nullptr;
};

// An open database file, closed when the object goes.
class SqliteDatabase {
  public:
    enum class Mode { kReadOnly, kReadWriteCreate };

    // Throws SqliteError when the file cannot be opened.
    SqliteDatabase(const std::filesystem::path& file, Mode mode);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Runs statements that return nothing. Throws SqliteError.
    void Execute(std::string_view sql);
    SqliteStatement Prepare(std::string_view sql);
    // The first column of the first row of a query, as text; empty when there is none.
    std::string QueryText(std::string_view sql);
    std::int64_t QueryInteger(std::string_view sql);
    sqlite3* Handle() const { return database_; }

  private:
    sqlite3* database_ = nullptr;
};
