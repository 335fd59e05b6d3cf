// The work at each interval's end: rows to every output, time-lapse and alarm snapshots
// in the imager's format, failures reported.

#include "monitor/reading_log.h"

#include <gtest/gtest.h>

#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/snapshot_folder.h"
#include "platform/whole_file.h"
#include "support/environment.h"

namespace {

using namespace std::chrono_literals;
using Clock = ReadingLog::Clock;
namespace fs = std::filesystem;

// Keeps every row; fails when told to.
class RecordingOutput : public ReadingOutput {
  public:
    std::optional<std::string> Write(const Reading& reading) override {
        readings.push_back(reading);
        return failure;
    }
    std::optional<std::string> Write(const AlarmEvent& event) override {
        events.push_back(event);
        return failure;
    }
    std::vector<Reading> readings;
    std::vector<AlarmEvent> events;
    std::optional<std::string> failure;
};

ThermalFrame Scene(std::uint16_t warm) {
    ThermalFrame frame = ThermalFrame::Filled(2930);
    frame[40] = warm;
    return frame;
}

class ReadingLogTest : public ::testing::Test {
  protected:
    ReadingLogTest() {
        auto output = std::make_unique<RecordingOutput>();
        output_ = output.get();
        outputs_.Add(std::move(output));
        head_.serialNumber = 4711;
        head_.range = {2, "0 ... 500 C", 2730, 7730};
        head_.health.framesTaken = 1;
    }

    ReadingLog& Log(ReadingLogOptions options, const fs::path& folder = {}) {
        fs::create_directories(Folder());
        options.snapshotFolder = SnapshotFolder::OnHost(folder.empty() ? Folder() : folder);
        log_.emplace([this] { return head_; }, frames_, outputs_, std::move(options));
        start_ = Clock::now();
        log_->Begin(start_);
        return *log_;
    }

    fs::path Folder() const { return root_.Home() / "snapshots"; }
    std::vector<fs::path> Snapshots() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(Folder())) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    test_support::TemporaryDeviceRoot root_{test_support::TemporaryDeviceRoot::Locale::kCInUtc};
    LogSettings settings_{{temperature_unit::kKelvin, 250, 0.9f}, {FrameCell{2, 3}}, 1};
    IntervalFrames frames_{settings_};
    ReadingOutputs outputs_;
    RecordingOutput* output_ = nullptr;
    HeadStatus head_;
    std::optional<ReadingLog> log_;
    Clock::time_point start_;
};

TEST_F(ReadingLogTest, TimeLapseSnapshotIsStoredWhenDueAndOnlyWithFrames) {
    ReadingLogOptions options;
    options.snapshotEvery = 2s;
    ReadingLog& log = Log(options);
    frames_.FrameArrived(Scene(3500));
    const IntervalRows first = log.CloseInterval(start_ + 1s);
    frames_.FrameArrived(Scene(3500));
    const IntervalRows second = log.CloseInterval(start_ + 1500ms);
    const IntervalRows empty = log.CloseInterval(start_ + 2s);  // due, but no frame
    frames_.FrameArrived(Scene(3600));
    const IntervalRows third = log.CloseInterval(start_ + 4s);

    EXPECT_FALSE(first.reading.snapshotPath.empty());
    EXPECT_TRUE(second.reading.snapshotPath.empty());
    EXPECT_TRUE(empty.reading.snapshotPath.empty());
    EXPECT_FALSE(third.reading.snapshotPath.empty());
    EXPECT_EQ(Snapshots(),
              (std::vector<fs::path>{first.reading.snapshotPath, third.reading.snapshotPath}));
    EXPECT_EQ(output_->readings.size(), 4u);
    EXPECT_EQ(output_->readings[3].snapshotPath, third.reading.snapshotPath);

    // The imager's format, with the log's picture, corrections, spot and head.
    DocumentRecord record;
    ASSERT_TRUE(document_archive::Decode(*whole_file::Read(third.reading.snapshotPath), record));
    EXPECT_EQ(record.displayFrame, Scene(3600));
    EXPECT_EQ(record.temperatureUnit, temperature_unit::kKelvin);
    EXPECT_EQ(record.backgroundTemperature, 250);
    EXPECT_FLOAT_EQ(record.emissivity, 0.9f);
    EXPECT_EQ(record.spotPosition1, 2 * 16 + 3);
    EXPECT_FALSE(record.secondSpotShown);
    EXPECT_EQ(record.headSerialNumber, 4711);
    EXPECT_EQ(record.rangeDescription, "0 ... 500 C");
    EXPECT_EQ(record.spanLow, 2930);
    EXPECT_EQ(record.spanHigh, 3600);
    EXPECT_EQ(record.snapshotNote, "Time-lapse");
    EXPECT_EQ(record.captureTime, third.reading.time);
}

TEST_F(ReadingLogTest, AlarmStartStoresOneSnapshotAndFollowsItsRow) {
    std::string error;
    ReadingLogOptions options;
    options.alarms = {*AlarmRule::Parse("max>600K", error), *AlarmRule::Parse("mean>290K", error)};
    options.snapshotOnAlarm = true;
    ReadingLog& log = Log(options);
    frames_.FrameArrived(Scene(7000));
    const IntervalRows rows = log.CloseInterval(start_ + 1s);
    ASSERT_EQ(rows.alarms.size(), 2u);
    EXPECT_FALSE(rows.alarms[0].snapshotPath.empty());
    EXPECT_EQ(rows.alarms[1].snapshotPath, rows.alarms[0].snapshotPath);
    EXPECT_EQ(Snapshots().size(), 1u);
    EXPECT_EQ(log.ActiveAlarms(), 2);
    ASSERT_EQ(output_->events.size(), 2u);
    EXPECT_EQ(output_->events[0].alarm, "max>600K");
    DocumentRecord record;
    ASSERT_TRUE(document_archive::Decode(*whole_file::Read(Snapshots()[0]), record));
    EXPECT_EQ(record.snapshotNote.rfind("Alarm max>600K", 0), 0u);
}

TEST_F(ReadingLogTest, FailuresOfOutputsAndSnapshotsAreReported) {
    ReadingLogOptions options;
    options.snapshotEvery = 1s;
    ReadingLog& log = Log(options, root_.Home() / "gone");
    output_->failure = "out: No space left on device";
    frames_.FrameArrived(Scene(3500));
    const IntervalRows rows = log.CloseInterval(start_ + 1s);
    ASSERT_EQ(rows.failures.size(), 2u);
    EXPECT_NE(rows.failures[0].find((root_.Home() / "gone").string()), std::string::npos);
    EXPECT_EQ(rows.failures[1], "out: No space left on device");
}

TEST_F(ReadingLogTest, LastIntervalIsWrittenOnlyWithFrames) {
    ReadingLog& log = Log({});
    EXPECT_FALSE(log.CloseLastInterval(start_ + 10ms).has_value());
    frames_.FrameArrived(Scene(3500));
    const auto last = log.CloseLastInterval(start_ + 20ms);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->reading.framesTaken, 1u);
    EXPECT_EQ(output_->readings.size(), 1u);
}

}  // namespace
