// quorvel-log with every output at once, end to end: the simulated head, the real program,
// a real broker and the database file it writes.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "publish/mosquitto_broker.h"
#include "publish/mqtt_recorder.h"
#include "publish/mqtt_topics.h"
#include "publish/sqlite_database.h"
#include "support/child_process.h"
#include "support/environment.h"
#include "support/head_simulator.h"
#include "support/wait_until.h"

namespace {

using test_support::ChildProcess;
using test_support::HeadSimulator;
using test_support::MosquittoBroker;
using test_support::MqttRecorder;
using test_support::TemporaryFolder;

// The simulator's head, unless told otherwise.
constexpr std::uint16_t kHeadSerial = 0x1234;

// The value of `key` in one JSON object of the log (a string or a number).
std::string JsonValue(const std::string& json, const std::string& key) {
    const std::string start = "\"" + key + "\":";
    std::size_t at = json.find(start);
    if (at == std::string::npos) {
        return "(missing)";
    }
    at += start.size();
    if (json.compare(at, 4, "null") == 0) {
        return "";  // as the CSV writes a value that does not exist
    }
    if (json[at] == '"') {
        return json.substr(at + 1, json.find('"', at + 1) - at - 1);
    }
    return json.substr(at, json.find_first_of(",}", at) - at);
}

// "time frames max" of each row of the CSV log, in order.
std::vector<std::string> CsvRows(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line.rfind("time,head,range,range_text,unit,frames,lost,min,max,", 0), 0u) << line;
    std::vector<std::string> rows;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream columns(line);
        for (std::string field; std::getline(columns, field, ',');) {
            fields.push_back(field);
        }
        rows.push_back(fields.at(0) + " " + fields.at(5) + " " + fields.at(8));
    }
    return rows;
}

TEST(LogOutputsTest, EveryRowOfTheFileReachesTheBrokerOnceInOrderAndTheDatabase) {
    TemporaryFolder folder;
    MosquittoBroker broker;
    const std::string prefix =
        mqtt_topics::DefaultPrefix(mqtt_topics::LocalHostName(), kHeadSerial);
    MqttRecorder recorder(broker.Port(), "quorvel/#");
    ASSERT_TRUE(recorder.WaitUntilSubscribed());
    const auto device = folder.Path() / "head";
    HeadSimulator head({"--link", device.string(), "--rate", "40"});
    ASSERT_TRUE(head.Started());
    ASSERT_TRUE(test_support::WaitUntil([&] { return std::filesystem::exists(device); }));

    const auto csv = folder.Path() / "log.csv";
    const auto database = folder.Path() / "log.sqlite";
    ChildProcess log(
        {QUORVEL_LOG_PATH, "--port", device.string(), "--every", "200ms", "--duration", "4s",
         "--quiet", "-o", csv.string(), "--db", database.string(), "--mqtt", broker.Url()},
        {.environment = {{"TZ", "UTC"}, {"LC_ALL", "C"}},
         .outputFile = (folder.Path() / "messages").string()});
    const auto status = log.WaitForExit(std::chrono::seconds(20));
    ASSERT_TRUE(status && ChildProcess::ExitedWith(*status, 0));

    const std::vector<std::string> rows = CsvRows(csv);
    ASSERT_GE(rows.size(), 15u);
    // The status goes last, after every reading it follows.
    ASSERT_TRUE(recorder.WaitForLast(mqtt_topics::Status(prefix), "offline"));
    std::vector<std::string> published;
    for (const std::string& json : recorder.Payloads(mqtt_topics::Readings(prefix))) {
        published.push_back(JsonValue(json, "time") + " " + JsonValue(json, "frames") + " " +
                            JsonValue(json, "max"));
    }
    EXPECT_EQ(published, rows);

    SqliteDatabase stored(database, SqliteDatabase::Mode::kReadOnly);
    SqliteStatement query = stored.Prepare(
        "SELECT time_text || ' ' || frames_taken || ' ' || iif(highest IS NULL, '', printf('%.2f', "
        "highest)) "
        "FROM readings ORDER BY id");
    std::vector<std::string> inDatabase;
    while (query.Step()) {
        inDatabase.push_back(query.Text(0));
    }
    EXPECT_EQ(inDatabase, rows);
}

}  // namespace
