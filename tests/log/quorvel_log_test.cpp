// quorvel-log, the real program, on a head the test plays: the rows against the frames
// sent, alarms, a head unplugged and back, outputs that fail, time-lapse snapshots.

#include <gtest/gtest.h>

#include <charconv>
#include <csignal>
#include <thread>

#include "display/frame_statistics.h"
#include "display/temperature_formatter.h"
#include "display/thermal_image_layout.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/imager_document.h"
#include "link/imager_link.h"
#include "log/log_test_support.h"
#include "log/scripted_head.h"
#include "monitor/temperature_text.h"
#include "platform/whole_file.h"

namespace {

using namespace std::chrono_literals;
using log_test::LogProcess;
using log_test::ReadCsv;
using log_test::Row;
using log_test::RowsWithState;
using log_test::ScriptedHead;
namespace fs = std::filesystem;

std::size_t At(int row, int column) {
    return static_cast<std::size_t>(MarkerCell{column, row}.FrameIndex());
}

// 20 °C with a warm object at picture row 3, column 12 and a cold one at row 14, column 1.
ThermalFrame Scene(std::uint16_t warm = 3330) {
    ThermalFrame frame = ThermalFrame::Filled(2930);
    frame[At(3, 12)] = warm;
    frame[At(14, 1)] = 2830;
    return frame;
}

std::string TwoDecimals(double value) {
    char text[32];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

int Sum(const std::vector<Row>& rows, const std::string& column) {
    int sum = 0;
    for (const Row& row : rows) {
        sum += row.at(column).empty() ? 0 : std::stoi(row.at(column));
    }
    return sum;
}

class QuorvelLogTest : public ::testing::Test {
  protected:
    fs::path Port() const { return root_.Home() / "head"; }
    fs::path File(const std::string& name) const { return root_.Home() / name; }
    std::vector<std::string> Args(std::vector<std::string> more) const {
        more.insert(more.begin(), {"--port", Port().string()});
        return more;
    }

    test_support::TemporaryDeviceRoot root_{test_support::TemporaryDeviceRoot::Locale::kCInUtc};
};

TEST_F(QuorvelLogTest, RowsHoldTheCorrectedValuesOfTheFramesSentInEachUnit) {
    ScriptedHead head(Port(), 10.0, [](int) { return Scene(); });
    for (const char* unit : {"C", "F", "K"}) {
        const fs::path file = File(std::string("log-") + unit + ".csv");
        LogProcess log(Args({"-o", file.string(), "--every", "500ms", "--count", "4", "--unit",
                             unit, "--emissivity", "0.95", "--background", "25C", "--spot", "3,12",
                             "--spot", "0,0"}),
                       File("out.txt"));
        ASSERT_EQ(log.ExitCode(), 0) << log.Output();

        const TemperatureCorrection correction{*temperature_text::UnitNamed(unit), 250, 0.95f};
        const FrameStatistics expected = FrameStatistics::Of(Scene(), correction);
        const auto value = [&](std::size_t index) {
            return TwoDecimals(TemperatureFormatter::ComputeTemperature(
                static_cast<std::int16_t>(Scene()[index]), correction.unit, 250, 0.95f));
        };
        const std::vector<Row> rows = ReadCsv(file);
        ASSERT_EQ(rows.size(), 4u);
        int withFrames = 0;
        for (const Row& row : rows) {
            EXPECT_EQ(row.at("state"), "ok");
            EXPECT_EQ(row.at("unit"), unit);
            if (row.at("frames") == "0") {
                continue;  // before the head's first frame
            }
            ++withFrames;
            EXPECT_EQ(row.at("head"), "4660");
            EXPECT_EQ(row.at("range"), "1");
            EXPECT_EQ(row.at("range_text"), "-20 ... 100 C");
            EXPECT_EQ(row.at("min"), TwoDecimals(expected.Lowest()));
            EXPECT_EQ(row.at("max"), TwoDecimals(expected.Highest()));
            EXPECT_EQ(row.at("mean"), TwoDecimals(expected.Mean()));
            EXPECT_EQ(row.at("hottest_row") + "," + row.at("hottest_column"), "3,12");
            EXPECT_EQ(row.at("coldest_row") + "," + row.at("coldest_column"), "14,1");
            EXPECT_EQ(row.at("spot1"), value(At(3, 12)));
            EXPECT_EQ(row.at("spot2"), value(At(0, 0)));
        }
        EXPECT_GE(withFrames, 2);
    }
    // The anchor: the scene in plain Celsius reads as written.
    LogProcess plain(Args({"-o", File("plain.csv").string(), "--count", "2", "--every", "500ms"}),
                     File("out.txt"));
    ASSERT_EQ(plain.ExitCode(), 0);
    const Row last = ReadCsv(File("plain.csv")).back();
    EXPECT_EQ(last.at("min") + " " + last.at("max") + " " + last.at("mean"), "10.00 60.00 20.12");
}

TEST_F(QuorvelLogTest, FramesOfTheRowsAddUpToTheFramesTheHeadSent) {
    ScriptedHead head(
        Port(), 10.0, [](int) { return Scene(); }, 25);
    const fs::path file = File("log.csv");
    LogProcess log(Args({"-o", file.string(), "--every", "500ms"}), File("out.txt"));
    ASSERT_TRUE(test_support::WaitUntil([&] { return head.FramesSent() == 25; }));
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(log.Terminate(), 0) << log.Output();
    const std::vector<Row> rows = ReadCsv(file);
    // Every frame is in a row: taken, or lost when a newer packet replaced it before the
    // poll (a range answer at the start, or a machine too busy to poll in time).
    EXPECT_EQ(Sum(rows, "frames") + Sum(rows, "lost"), 25) << log_test::FileText(file);
    EXPECT_GT(Sum(rows, "frames"), Sum(rows, "lost"));
}

// 25 °C for 1.5 s; then 30.3, 29.8, 30.4, 29.7 and 30.3 °C for a second each, hovering at
// the limit of 30 °C; then 28 °C, a kelvin and more below it.
ThermalFrame HoveringScene(int frame) {
    const std::uint16_t steps[] = {3033, 3028, 3034, 3027, 3033};
    if (frame < 15) {
        return Scene(2980);
    }
    const int step = (frame - 15) / 10;
    return Scene(step < 5 ? steps[step] : 3010);
}

TEST_F(QuorvelLogTest, HoveringSceneGivesOneAlarmStartAndEndAndOneCommand) {
    ScriptedHead head(Port(), 10.0, HoveringScene, 85);
    const fs::path file = File("log.csv");
    const fs::path env = File("env.txt");
    const fs::path snapshots = File("alarms");
    LogProcess log(Args({"-o", file.string(), "--every", "500ms", "--alarm", "max>30C",
                         "--snapshot-on-alarm", "--snapshot-folder", snapshots.string(),
                         "--on-alarm", "sh -c 'env >> \"$0\"' " + env.string()}),
                   File("out.txt"));
    ASSERT_TRUE(test_support::WaitUntil([&] { return head.FramesSent() == 85; }));
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(log.Terminate(), 0) << log.Output();

    const std::vector<Row> rows = ReadCsv(file);
    const std::vector<Row> starts = RowsWithState(rows, "alarm start");
    ASSERT_EQ(starts.size(), 1u) << log_test::FileText(file);
    EXPECT_EQ(RowsWithState(rows, "alarm end").size(), 1u);
    const Row& start = starts[0];
    EXPECT_EQ(start.at("alarm"), "max>30C");
    EXPECT_EQ(start.at("alarm_value"), "30.30");

    const std::string variables = log_test::FileText(env);
    std::size_t runs = 0;
    for (std::size_t at = variables.find("QUORVEL_ALARM="); at != std::string::npos;
         at = variables.find("QUORVEL_ALARM=", at + 1)) {
        ++runs;
    }
    EXPECT_EQ(runs, 1u);
    for (const std::string& line : std::vector<std::string>{
             "QUORVEL_ALARM=max>30C", "QUORVEL_ALARM_VALUE=30.30", "QUORVEL_ALARM_UNIT=C",
             "QUORVEL_ALARM_TIME=" + start.at("time"), "QUORVEL_SNAPSHOT=" + start.at("snapshot"),
             "QUORVEL_HEAD=4660", "QUORVEL_DEVICE=" + Port().string()}) {
        EXPECT_NE(variables.find(line + "\n"), std::string::npos) << line << "\n" << variables;
    }
    DocumentRecord record;
    const auto bytes = whole_file::Read(start.at("snapshot"));
    ASSERT_TRUE(bytes.has_value());
    ASSERT_TRUE(document_archive::Decode(*bytes, record));
    EXPECT_EQ(record.displayFrame, Scene(3033));
    EXPECT_EQ(fs::path(start.at("snapshot")).parent_path(), snapshots);
}

TEST_F(QuorvelLogTest, ExitOnAlarmEndsWithThreeAfterTheAlarmRow) {
    ScriptedHead head(Port(), 10.0, [](int) { return Scene(); });
    const fs::path file = File("log.csv");
    LogProcess log(Args({"-o", file.string(), "--alarm", "max>50C", "--exit-on-alarm"}),
                   File("out.txt"));
    EXPECT_EQ(log.ExitCode(), 3) << log.Output();
    const std::vector<Row> rows = ReadCsv(file);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().at("state"), "alarm start");
}

TEST_F(QuorvelLogTest, UnpluggedHeadGivesNoHeadRowsAndTheLogGoesOnWhenItReturns) {
    ScriptedHead head(Port(), 10.0, [](int) { return Scene(); });
    const fs::path file = File("log.csv");
    LogProcess log(Args({"-o", file.string(), "--every", "500ms"}), File("out.txt"));
    std::this_thread::sleep_for(1500ms);
    head.Unplug();
    ASSERT_TRUE(test_support::WaitUntil(
        [&] { return !RowsWithState(ReadCsv(file), "no head").empty(); }, 10s));
    head.PlugIn();
    ASSERT_TRUE(test_support::WaitUntil(
        [&] {
            const auto rows = ReadCsv(file);
            return rows.back().at("state") == "ok" && rows.back().at("frames") != "0";
        },
        10s));
    ASSERT_EQ(log.Terminate(), 0) << log.Output();

    // ok with values, then no head without, then ok with values again.
    std::vector<std::string> phases;
    for (const Row& row : ReadCsv(file)) {
        if (row.at("state") == "no head") {
            EXPECT_EQ(row.at("frames") + row.at("max") + row.at("head"), "0");
        }
        const std::string phase = row.at("state") == "ok" && row.at("frames") != "0" ? "values"
                                  : row.at("state") == "no head"                     ? "no head"
                                                                                     : "";
        if (!phase.empty() && (phases.empty() || phases.back() != phase)) {
            phases.push_back(phase);
        }
    }
    EXPECT_EQ(phases, (std::vector<std::string>{"values", "no head", "values"}));
    EXPECT_NE(log.Output().find("no head answers"), std::string::npos);
}

TEST_F(QuorvelLogTest, FullOrVanishedOutputEndsWithTheReasonAndWholeEarlierRows) {
    ScriptedHead head(Port(), 10.0, [](int) { return Scene(); });
    // A file size limit of four blocks plays the full disk.
    const fs::path file = File("full.csv");
    test_support::ChildProcess full(
        {"/bin/sh", "-c", "ulimit -f 4; exec \"$@\"", "sh", QUORVEL_LOG_PATH, "--port",
         Port().string(), "-o", file.string(), "--every", "100ms"},
        {.outputFile = File("full.txt").string()});
    const auto status = full.WaitForExit(30s);
    ASSERT_TRUE(status && test_support::ChildProcess::ExitedWith(*status, 1))
        << log_test::FileText(File("full.txt"));
    EXPECT_NE(log_test::FileText(File("full.txt")).find(file.string() + ": File too large"),
              std::string::npos)
        << log_test::FileText(File("full.txt"));
    EXPECT_LE(fs::file_size(file), 4096u);
    EXPECT_GE(ReadCsv(file).size(), 3u) << "the rows before the disk was full, whole";

    const fs::path folder = File("gone");
    fs::create_directories(folder);
    LogProcess vanishing(Args({"-o", (folder / "log.csv").string(), "--every", "200ms"}),
                         File("gone.txt"));
    std::this_thread::sleep_for(800ms);
    fs::remove_all(folder);
    EXPECT_EQ(vanishing.ExitCode(), 1);
    EXPECT_NE(vanishing.Output().find((folder / "log.csv").string() + ": "), std::string::npos)
        << vanishing.Output();

    LogProcess nowhere(Args({"-o", (folder / "log.csv").string()}), File("nowhere.txt"));
    EXPECT_EQ(nowhere.ExitCode(), 1);
    EXPECT_NE(nowhere.Output().find("No such file or directory"), std::string::npos);
}

TEST_F(QuorvelLogTest, TimeLapseSnapshotsDecodeAndBrowseInTheImagersDocument) {
    ScriptedHead head(Port(), 10.0, [](int) { return Scene(); });
    LogProcess log(
        Args({"-o", File("log.csv").string(), "--snapshot-every", "1s", "--spot", "3,12"}),
        File("out.txt"));
    const fs::path folder = root_.Host("\\My Documents\\Snapshots");
    ASSERT_TRUE(test_support::WaitUntil([&] {
        std::error_code error;
        int snapshots = 0;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            snapshots += entry.path().extension() == ".snp" ? 1 : 0;
        }
        return snapshots >= 3;
    }));
    ASSERT_EQ(log.Terminate(), 0) << log.Output();

    int stored = 0;
    for (const Row& row : ReadCsv(File("log.csv"))) {
        if (!row.at("snapshot").empty()) {
            ++stored;
            DocumentRecord record;
            ASSERT_TRUE(document_archive::Decode(*whole_file::Read(row.at("snapshot")), record));
            EXPECT_EQ(record.displayFrame, Scene());
            EXPECT_EQ(record.snapshotNote, "Time-lapse");
            EXPECT_EQ(record.spotPosition1, 3 * 16 + 12);
        }
    }
    EXPECT_GE(stored, 3);

    ImagerLink link(nullptr);
    ImagerDocument document(nullptr, nullptr, link);
    document.StartUp();
    EXPECT_EQ(document.CountSnapshots(), stored);
    document.BeginBrowsing();
    EXPECT_FALSE(document.IsSnapshotUnreadable());
    EXPECT_EQ(document.DisplayFrame(), Scene());
    document.NextSnapshot();
    EXPECT_EQ(document.SnapshotIndex(), 1);
    EXPECT_EQ(document.SpotPosition(0), 3 * 16 + 12);
}

TEST_F(QuorvelLogTest, MistakesOnTheCommandLineEndWithTwo) {
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"--every", "0s"},
             {"--bogus"},
             {"--unit", "X"},
             {"--spot", "16,0"},
             {"--alarm", "spot2<5C", "--spot", "1,1"},
             {"--exit-on-alarm"},
             {"--count", "3", "--duration", "1m"},
             {"--on-alarm", "no-such-program-here", "--alarm", "max>1C"},
             {"--mqtt", "http://broker"},
             {"--mqtt", "mqtt://broker:99999"},
             {"--topic", "plant/kiln"},
             {"--mqtt", "mqtt://broker", "--topic", "plant/#"},
             {"--mqtt", "mqtt://broker", "--mqtt-user", "kiln"},
             {"--mqtt", "mqtt://127.0.0.1:1", "--mqtt-user", "kiln", "--mqtt-password-file",
              "/no/such/file", "--count", "1"}}) {
        LogProcess log(wrong, File("out.txt"));
        EXPECT_EQ(log.ExitCode(), 2) << wrong[0];
    }
    LogProcess help({"--help"}, File("help.txt"));
    EXPECT_EQ(help.ExitCode(), 0);
    const std::string text = log_test::FileText(File("help.txt"));
    for (const char* option : {"--port",
                               "--every",
                               "-o FILE",
                               "--format",
                               "--unit",
                               "--emissivity",
                               "--background",
                               "--average",
                               "--spot",
                               "--duration",
                               "--count",
                               "--quiet",
                               "--snapshot-every",
                               "--snapshot-folder",
                               "--alarm",
                               "--hysteresis",
                               "--snapshot-on-alarm",
                               "--on-alarm",
                               "--exit-on-alarm",
                               "--db FILE",
                               "--mqtt URL",
                               "--topic",
                               "--mqtt-user",
                               "--mqtt-password-file",
                               "--mqtt-cafile"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option;
    }
}

}  // namespace
