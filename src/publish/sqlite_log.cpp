#include "publish/sqlite_log.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS readings (
    id INTEGER PRIMARY KEY,
    time INTEGER NOT NULL,
    time_text TEXT NOT NULL,
    head_serial INTEGER,
    range_number INTEGER,
    range_text TEXT,
    frames_taken INTEGER NOT NULL,
    frames_lost INTEGER NOT NULL,
    unit TEXT NOT NULL,
    lowest REAL,
    highest REAL,
    mean REAL,
    hottest_row INTEGER,
    hottest_column INTEGER,
    coldest_row INTEGER,
    coldest_column INTEGER,
    spots TEXT NOT NULL,
    state TEXT NOT NULL
);
CREATE INDEX IF NOT EXISTS readings_by_time ON readings(time);
CREATE TABLE IF NOT EXISTS alarms (
    id INTEGER PRIMARY KEY,
    time INTEGER NOT NULL,
    time_text TEXT NOT NULL,
    alarm TEXT NOT NULL,
    event TEXT NOT NULL,
    value REAL,
    snapshot TEXT
);
CREATE INDEX IF NOT EXISTS alarms_by_time ON alarms(time);
CREATE TABLE IF NOT EXISTS heads (
    serial INTEGER PRIMARY KEY,
    first_seen INTEGER NOT NULL,
    first_seen_text TEXT NOT NULL,
    last_seen INTEGER NOT NULL,
    last_seen_text TEXT NOT NULL,
    ranges TEXT NOT NULL DEFAULT '{}'
);
PRAGMA user_version = 1;
)sql";

constexpr const char* kInsertReading = R"sql(
INSERT INTO readings (time, time_text, head_serial, range_number, range_text, frames_taken,
    frames_lost, unit, lowest, highest, mean, hottest_row, hottest_column, coldest_row,
    coldest_column, spots, state)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17)
)sql";

constexpr const char* kInsertAlarm = R"sql(
INSERT INTO alarms (time, time_text, alarm, event, value, snapshot)
VALUES (?1, ?2, ?3, ?4, ?5, ?6)
)sql";

constexpr const char* kSeeHead = R"sql(
INSERT INTO heads (serial, first_seen, first_seen_text, last_seen, last_seen_text)
VALUES (?1, ?2, ?3, ?2, ?3)
ON CONFLICT (serial) DO UPDATE SET last_seen = excluded.last_seen,
    last_seen_text = excluded.last_seen_text
)sql";

constexpr const char* kNoteRange =
    "UPDATE heads SET ranges = json_set(ranges, ?2, ?3) "
    "WHERE serial = ?1";

// The shortest text that reads back as the same float; "null" when it is not finite.
std::string FloatText(float value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// The double of that text, so that 21.3f is stored as 21.3 and not as 21.2999992.
std::optional<double> Decimal(const std::optional<float>& value) {
    if (!value) {
        return std::nullopt;
    }
    const std::string text = FloatText(*value);
    double result = NAN;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

std::string SpotsJson(const std::vector<std::optional<float>>& spots) {
    std::string json = "[";
    for (std::size_t i = 0; i < spots.size(); ++i) {
        json += (i > 0 ? "," : "") + (spots[i] ? FloatText(*spots[i]) : std::string("null"));
    }
    return json + "]";
}

template <class Integer>
std::optional<std::int64_t> Wide(const std::optional<Integer>& value) {
    return value ? std::optional<std::int64_t>(*value) : std::nullopt;
}

}  // namespace

SqliteLog::SqliteLog(std::filesystem::path file, std::string unit, std::size_t waitingLimit)
    : file_(std::move(file)),
      unit_(std::move(unit)),
      waitingLimit_(std::max<std::size_t>(waitingLimit, 1)) {}

SqliteLog::~SqliteLog() {
    Flush();
}

void SqliteLog::Open() {
    database_.emplace(file_, SqliteDatabase::Mode::kReadWriteCreate);
    SqliteDatabase& database = *database_;
    try {
        // A reader such as the sqlite3 shell may hold the file briefly; wait for it a
        // little rather than fail at once.
        database.QueryInteger("PRAGMA busy_timeout = 200");
        if (database.QueryText("PRAGMA journal_mode = WAL") != "wal") {
            notices_.push_back(file_.string() +
                               ": write-ahead logging is not available here; readers may "
                               "have to wait while rows are written");
        }
        // Each commit reaches the file at once; only a power cut (not a killed logger)
        // can lose the last ones.
        database.Execute("PRAGMA synchronous = NORMAL");
        database.Execute(kSchema);
        begin_ = database.Prepare("BEGIN IMMEDIATE");
        commit_ = database.Prepare("COMMIT");
        insertReading_ = database.Prepare(kInsertReading);
        insertAlarm_ = database.Prepare(kInsertAlarm);
        seeHead_ = database.Prepare(kSeeHead);
        noteRange_ = database.Prepare(kNoteRange);
    } catch (const SqliteError& error) {
        database_.reset();
        throw SqliteError(std::string(error.what()) + " (is it a reading log?)");
    }
}

void SqliteLog::Add(const Reading& reading) {
    Keep(reading);
    Flush();
}

void SqliteLog::Add(const AlarmEvent& event) {
    Keep(event);
    Flush();
}

void SqliteLog::Keep(Row row) {
    if (waiting_.size() >= waitingLimit_) {
        waiting_.pop_front();
        ++droppedUnreported_;
    }
    waiting_.push_back(std::move(row));
}

bool SqliteLog::Flush() {
    if (!database_ || waiting_.empty()) {
        return waiting_.empty();
    }
    try {
        begin_.Run();
        for (const Row& row : waiting_) {
            std::visit([this](const auto& value) { Write(value); }, row);
        }
        commit_.Run();
    } catch (const SqliteError& error) {
        RollBack();
        Failed(error.what());
        return false;
    }
    if (!lastFailure_.empty()) {
        notices_.push_back(file_.string() + ": rows are written again (" +
                           std::to_string(waiting_.size()) + " kept ones included)");
        lastFailure_.clear();
    }
    if (droppedUnreported_ > 0) {
        notices_.push_back(file_.string() + ": " + std::to_string(droppedUnreported_) +
                           " rows were dropped while the database could not be written");
        droppedUnreported_ = 0;
    }
    waiting_.clear();
    return true;
}

void SqliteLog::Write(const Reading& reading) {
    insertReading_.Bind(1, reading.time)
        .Bind(2, reading.timeText)
        .Bind(3, Wide(reading.headSerial))
        .Bind(4, Wide(reading.rangeNumber))
        .BindTextOrNull(5, reading.rangeText)
        .Bind(6, static_cast<std::int64_t>(reading.framesTaken))
        .Bind(7, static_cast<std::int64_t>(reading.framesLost))
        .Bind(8, unit_)
        .Bind(9, Decimal(reading.lowest))
        .Bind(10, Decimal(reading.highest))
        .Bind(11, reading.mean);
    if (reading.hottest) {
        insertReading_.Bind(12, std::int64_t{reading.hottest->row})
            .Bind(13, std::int64_t{reading.hottest->column});
    }
    if (reading.coldest) {
        insertReading_.Bind(14, std::int64_t{reading.coldest->row})
            .Bind(15, std::int64_t{reading.coldest->column});
    }
    insertReading_.Bind(16, SpotsJson(reading.spots)).Bind(17, reading.state).Run();
    if (!reading.headSerial) {
        return;
    }
    seeHead_.Bind(1, std::int64_t{*reading.headSerial})
        .Bind(2, reading.time)
        .Bind(3, reading.timeText)
        .Run();
    if (reading.rangeNumber && !reading.rangeText.empty()) {
        noteRange_.Bind(1, std::int64_t{*reading.headSerial})
            .Bind(2, "$.\"" + std::to_string(*reading.rangeNumber) + "\"")
            .Bind(3, reading.rangeText)
            .Run();
    }
}

void SqliteLog::Write(const AlarmEvent& event) {
    insertAlarm_.Bind(1, event.time)
        .Bind(2, event.timeText)
        .Bind(3, event.alarm)
        .Bind(4, std::string_view(event.started ? "start" : "end"))
        .Bind(5, event.value)
        .BindTextOrNull(6, event.snapshotPath)
        .Run();
}

void SqliteLog::RollBack() {
    try {
        database_->Execute("ROLLBACK");
    } catch (const SqliteError&) {
        // No transaction was open: BEGIN itself failed.
    }
}

void SqliteLog::Failed(const std::string& reason) {
    if (reason != lastFailure_) {
        notices_.push_back(reason + "; the rows are kept and written again with the next");
        lastFailure_ = reason;
    }
}

std::vector<std::string> SqliteLog::TakeNotices() {
    return std::exchange(notices_, {});
}
