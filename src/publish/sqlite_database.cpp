#include "publish/sqlite_database.h"

#include <sqlite3.h>

#include <utility>

namespace {

[[noreturn]] void Fail(sqlite3* database, std::string_view what) {
    const char* file = database != nullptr ? sqlite3_db_filename(database, "main") : nullptr;
    throw SqliteError(std::string(file != nullptr && *file != '\0' ? file : "database") + ": " +
                      (what.empty() ? std::string() : std::string(what) + ": ") +
                      (database != nullptr ? sqlite3_errmsg(database) : "out of memory"));
}

void Check(sqlite3* database, int result, std::string_view what) {
    if (result != SQLITE_OK) {
        Fail(database, what);
    }
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* database, std::string_view sql) {
    Check(database,
          sqlite3_prepare_v2(database, sql.data(), static_cast<int>(sql.size()), &statement_,
                             nullptr),
          "cannot prepare a statement");
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int position, std::int64_t value) {
    sqlite3_bind_int64(statement_, position, value);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int position, double value) {
    sqlite3_bind_double(statement_, position, value);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int position, std::string_view text) {
    sqlite3_bind_text(statement_, position, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::BindTextOrNull(int position, std::string_view text) {
    return text.empty() ? BindNull(position) : Bind(position, text);
}

SqliteStatement& SqliteStatement::BindNull(int position) {
    sqlite3_bind_null(statement_, position);
    return *this;
}

bool SqliteStatement::Step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result != SQLITE_DONE) {
        sqlite3* database = sqlite3_db_handle(statement_);
        // The reason is kept by the connection; the statement starts clean next time.
        Reset();
        Fail(database, "");
    }
    return false;
}

void SqliteStatement::Run() {
    while (Step()) {
    }
    Reset();
}

void SqliteStatement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t SqliteStatement::Integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double SqliteStatement::Real(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::string SqliteStatement::Text(int column) const {
    const auto* text = sqlite3_column_text(statement_, column);
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

SqliteDatabase::SqliteDatabase(const std::filesystem::path& file, Mode mode) {
    const int flags =
        mode == Mode::kReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int result = sqlite3_open_v2(file.c_str(), &database_, flags, nullptr);
    if (result != SQLITE_OK) {
        const std::string reason =
            database_ != nullptr ? sqlite3_errmsg(database_) : sqlite3_errstr(result);
        sqlite3_close(database_);
        database_ = nullptr;
        throw SqliteError(file.string() + ": cannot open: " + reason);
    }
    sqlite3_extended_result_codes(database_, 1);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close_v2(database_);
}

void SqliteDatabase::Execute(std::string_view sql) {
    Check(database_, sqlite3_exec(database_, std::string(sql).c_str(), nullptr, nullptr, nullptr),
          "");
}

SqliteStatement SqliteDatabase::Prepare(std::string_view sql) {
    return SqliteStatement(database_, sql);
}

std::string SqliteDatabase::QueryText(std::string_view sql) {
    SqliteStatement statement(database_, sql);
    return statement.Step() ? statement.Text(0) : std::string();
}

std::int64_t SqliteDatabase::QueryInteger(std::string_view sql) {
    SqliteStatement statement(database_, sql);
    return statement.Step() ? statement.Integer(0) : 0;
}
