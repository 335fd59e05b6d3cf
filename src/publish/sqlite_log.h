#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "monitor/reading.h"
#include "publish/sqlite_database.h"

// A local log of readings and alarm events in a SQLite database file, with write-ahead
// logging so that the sqlite3 shell can read it while it is written. Tables (see
// the README): `readings` (one row per reading, spot values as a JSON array),
// `alarms` (one row per start or end) and `heads` (every head seen, first and last
// time, the texts of its ranges). Every row is committed by the call that adds it, so
// a logger that is killed loses none that it had added.
class SqliteLog {
  public:
    // `unit`: the temperature unit of the values that will be added ("C", "F" or "K").
    // `waitingLimit`: rows kept while the database cannot be written; beyond it the
    // oldest are dropped.
    SqliteLog(std::filesystem::path file, std::string unit, std::size_t waitingLimit = 10000);
    ~SqliteLog();
    SqliteLog(const SqliteLog&) = delete;
    SqliteLog& operator=(const SqliteLog&) = delete;

    // Opens or creates the file and its tables. Throws SqliteError when the file cannot
    // be opened or is not a log of this program.
    void Open();
    // Writes the row, with any kept from calls that failed, in one transaction. A
    // failure (disk full, database locked by another program) is reported in the
    // notices, never thrown; the rows are kept and written by the next call.
    void Add(const Reading& reading);
    void Add(const AlarmEvent& event);
    // Writes the rows kept after a failure; true when none is left.
    bool Flush();

    // What went wrong or right again since the last call, one line each for the log.
    std::vector<std::string> TakeNotices();
    // Rows kept after a failure, not yet written.
    std::size_t Waiting() const { return waiting_.size(); }
    const std::filesystem::path& File() const { return file_; }

  private:
    using Row = std::variant<Reading, AlarmEvent>;

    void Keep(Row row);
    void Write(const Reading& reading);
    void Write(const AlarmEvent& event);
    void RollBack();
    void Failed(const std::string& reason);

    std::filesystem::path file_;
    std::string unit_;
    std::size_t waitingLimit_;
    std::optional<SqliteDatabase> database_;
    // Declared after the database, so that they are finalised before it closes.
    SqliteStatement begin_;
    SqliteStatement commit_;
    SqliteStatement insertReading_;
    SqliteStatement insertAlarm_;
    SqliteStatement seeHead_;
    SqliteStatement noteRange_;
    std::deque<Row> waiting_;
    std::uint64_t droppedUnreported_ = 0;
    std::vector<std::string> notices_;
    std::string lastFailure_;
};
