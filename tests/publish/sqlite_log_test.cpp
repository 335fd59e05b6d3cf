#include "publish/sqlite_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>

#include "support/child_process.h"
#include "support/environment.h"
#include "support/wait_until.h"

namespace {

using test_support::ChildProcess;
using test_support::TemporaryDeviceRoot;
using test_support::TemporaryFolder;
using test_support::WaitUntil;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

Reading FullReading() {
    Reading reading;
    reading.time = 1796741100;
    reading.timeText = "2026-12-08T14:25:00+01:00";
    reading.headSerial = 4711;
    reading.rangeNumber = 2;
    reading.rangeText = "0..250 °C";
    reading.framesTaken = 21;
    reading.framesLost = 1;
    reading.lowest = 19.3f;
    reading.highest = 84.7f;
    reading.mean = 31.0625;
    reading.hottest = FrameCell{3, 12};
    reading.coldest = FrameCell{15, 0};
    reading.spots = {21.5f, std::nullopt, -4.1f};
    reading.state = "ok";
    return reading;
}

Reading NoHeadReading() {
    Reading reading;
    reading.time = 1796741101;
    reading.timeText = "2026-12-08T14:25:01+01:00";
    reading.state = "no head";
    return reading;
}

std::vector<std::string> Rows(SqliteDatabase& database, const std::string& query) {
    std::vector<std::string> rows;
    SqliteStatement statement = database.Prepare(query);
    while (statement.Step()) {
        rows.push_back(statement.Text(0));
    }
    return rows;
}

TEST(SqliteLogTest, RowsReadBackAsTheyWereAdded) {
    TemporaryFolder folder;
    const auto file = folder.Path() / "kiln.sqlite";
    {
        SqliteLog log(file, "C");
        log.Open();
        log.Add(FullReading());
        log.Add(NoHeadReading());
        AlarmEvent start{1796741102,    "2026-12-08T14:25:02+01:00", "max>80C", true, 84.7,
                         "/snap/a.dat", temperature_unit::kCelsius};
        AlarmEvent end{1796741160, "2026-12-08T14:26:00+01:00", "max>80C", false, std::nullopt,
                       "",         temperature_unit::kCelsius};
        log.Add(start);
        log.Add(end);
        Reading otherRange = FullReading();
        otherRange.time += 60;
        otherRange.timeText = "2026-12-08T14:26:00+01:00";
        otherRange.rangeNumber = 1;
        otherRange.rangeText = "-20..100 °C";
        log.Add(otherRange);
        EXPECT_EQ(log.Waiting(), 0U);
        EXPECT_TRUE(log.TakeNotices().empty());
    }
    SqliteDatabase database(file, SqliteDatabase::Mode::kReadOnly);
    EXPECT_EQ(database.QueryText("PRAGMA journal_mode"), "wal");
    // Every column, with empty values as NULL (shown by quote() as NULL).
    const std::string columns =
        "SELECT quote(time) || '|' || time_text || '|' || quote(head_serial) || '|' || "
        "quote(range_number) || '|' || quote(range_text) || '|' || frames_taken || '|' || "
        "frames_lost || '|' || unit || '|' || quote(lowest) || '|' || quote(highest) || '|' || "
        "quote(mean) || '|' || quote(hottest_row) || ',' || quote(hottest_column) || '|' || "
        "quote(coldest_row) || ',' || quote(coldest_column) || '|' || spots || '|' || state "
        "FROM readings ORDER BY id";
    EXPECT_THAT(
        Rows(database, columns),
        ElementsAre("1796741100|2026-12-08T14:25:00+01:00|4711|2|'0..250 °C'|21|1|C|19.3|84.7|"
                    "31.0625|3,12|15,0|[21.5,null,-4.1]|ok",
                    "1796741101|2026-12-08T14:25:01+01:00|NULL|NULL|NULL|0|0|C|NULL|NULL|NULL|"
                    "NULL,NULL|NULL,NULL|[]|no head",
                    "1796741160|2026-12-08T14:26:00+01:00|4711|1|'-20..100 °C'|21|1|C|19.3|84.7|"
                    "31.0625|3,12|15,0|[21.5,null,-4.1]|ok"));
    EXPECT_THAT(Rows(database,
                     "SELECT time || '|' || time_text || '|' || alarm || '|' || event || '|' || "
                     "quote(value) || '|' || quote(snapshot) FROM alarms ORDER BY id"),
                ElementsAre("1796741102|2026-12-08T14:25:02+01:00|max>80C|start|84.7|'/snap/a.dat'",
                            "1796741160|2026-12-08T14:26:00+01:00|max>80C|end|NULL|NULL"));
    EXPECT_THAT(Rows(database,
                     "SELECT serial || '|' || first_seen_text || '|' || last_seen || '|' || "
                     "ranges FROM heads"),
                ElementsAre("4711|2026-12-08T14:25:00+01:00|1796741160|"
                            "{\"2\":\"0..250 °C\",\"1\":\"-20..100 °C\"}"));
    // Spot values are reachable with the JSON functions.
    EXPECT_EQ(database.QueryText("SELECT json_extract(spots, '$[2]') FROM readings LIMIT 1"),
              "-4.1");
}

TEST(SqliteLogTest, AKilledWriterLeavesEveryAddedRowReadableWhileItWrites) {
    TemporaryFolder folder;
    const auto file = folder.Path() / "log.sqlite";
    const auto progress = folder.Path() / "progress.txt";
    ChildProcess writer({QUORVEL_PUBLISH_WRITER, "sqlite", file.string()},
                        {.outputFile = progress.string()});
    const auto lines = [&] {
        std::ifstream in(progress);
        std::vector<std::string> read;
        for (std::string line; std::getline(in, line);) {
            read.push_back(line);
        }
        return read;
    };
    ASSERT_TRUE(WaitUntil([&] { return lines().size() >= 50; }));

    // The sqlite3 shell reads the file while it is written.
    const auto shellOutput = folder.Path() / "shell.txt";
    ChildProcess shell(
        {QUORVEL_SQLITE_SHELL, "-readonly", file.string(), "SELECT count(*) >= 50 FROM readings"},
        {.outputFile = shellOutput.string()});
    const std::optional<int> shellStatus = shell.WaitForExit(std::chrono::seconds(10));
    ASSERT_TRUE(shellStatus && ChildProcess::ExitedWith(*shellStatus, 0))
        << TemporaryDeviceRoot::ReadText(shellOutput);
    EXPECT_EQ(TemporaryDeviceRoot::ReadText(shellOutput), "1\n");

    ASSERT_TRUE(WaitUntil([&] { return lines().size() >= 150; }));
    writer.Signal(SIGKILL);
    ASSERT_TRUE(writer.WaitForExit(std::chrono::seconds(10)));
    const std::vector<std::string> written = lines();

    SqliteDatabase database(file, SqliteDatabase::Mode::kReadWriteCreate);
    EXPECT_EQ(database.QueryText("PRAGMA integrity_check"), "ok");
    const std::int64_t last = std::stoll(written.back());
    // Every row the writer had added is there, without a gap; at most the one it was
    // adding when killed is more.
    EXPECT_EQ(database.QueryInteger("SELECT count(*) FROM readings WHERE time <= " +
                                    std::to_string(last)),
              last + 1);
    EXPECT_LE(database.QueryInteger("SELECT max(time) FROM readings"), last + 1);
}

TEST(SqliteLogTest, ALockedDatabaseKeepsTheRowsUntilItCanBeWritten) {
    TemporaryFolder folder;
    const auto file = folder.Path() / "log.sqlite";
    SqliteLog log(file, "K");
    log.Open();
    SqliteDatabase other(file, SqliteDatabase::Mode::kReadWriteCreate);
    other.Execute("BEGIN IMMEDIATE");  // another program holds the write lock

    log.Add(FullReading());
    log.Add(NoHeadReading());
    EXPECT_EQ(log.Waiting(), 2U);
    EXPECT_THAT(log.TakeNotices(),
                ElementsAre(HasSubstr(file.string() + ": database is locked; the rows are kept")));

    other.Execute("COMMIT");
    AlarmEvent event{1796741102,  "2026-12-08T14:25:02+01:00", "nohead>10s", true, 12.0, "",
                     std::nullopt};
    log.Add(event);
    EXPECT_EQ(log.Waiting(), 0U);
    EXPECT_THAT(log.TakeNotices(), ElementsAre(HasSubstr("rows are written again")));
    EXPECT_EQ(other.QueryInteger("SELECT count(*) FROM readings"), 2);
    EXPECT_EQ(other.QueryInteger("SELECT count(*) FROM alarms"), 1);
}

TEST(SqliteLogTest, AFileThatCannotHoldTheLogIsRefusedAtOpen) {
    TemporaryFolder folder;
    std::ofstream(folder.Path() / "notes.txt") << "shopping list: more thermocouples\n";
    SqliteLog text(folder.Path() / "notes.txt", "C");
    try {
        text.Open();
        ADD_FAILURE() << "opened a text file";
    } catch (const SqliteError& error) {
        EXPECT_THAT(error.what(), HasSubstr("notes.txt"));
        EXPECT_THAT(error.what(), HasSubstr("file is not a database"));
    }
    SqliteLog nowhere(folder.Path() / "missing" / "log.sqlite", "C");
    EXPECT_THROW(nowhere.Open(), SqliteError);
}

}  // namespace
