// From frames to a row: averaging, statistics over an interval, spots, cells as the
// picture shows them, what the line lost, the head's state.

#include <gtest/gtest.h>

#include "display/thermal_image_layout.h"
#include "monitor/interval_frames.h"
#include "monitor/reading_maker.h"

namespace {

// The frame index of the picture cell (row, column).
std::size_t At(int row, int column) {
    return static_cast<std::size_t>(MarkerCell{column, row}.FrameIndex());
}

// 20 °C everywhere, a warm object at picture row 3, column 12, a cold one at row 14,
// column 1.
ThermalFrame Scene(std::uint16_t warm) {
    ThermalFrame frame = ThermalFrame::Filled(2930);
    frame[At(3, 12)] = warm;
    frame[At(14, 1)] = 2830;
    return frame;
}

LogSettings Spots(std::vector<std::optional<FrameCell>> spots) {
    LogSettings settings;
    settings.spots = std::move(spots);
    return settings;
}

HeadStatus Present(std::uint64_t dropped, std::uint64_t damaged) {
    HeadStatus head;
    head.serialNumber = 4660;
    head.range = {1, std::string("-20 ... 100 C   \0\0\0", 19), 2530, 3730};
    head.health.framesTaken = 5;
    head.health.framesDropped = dropped;
    head.health.packetsDamaged = damaged;
    return head;
}

TEST(IntervalFramesTest, SummaryCoversEveryFrameOfTheIntervalAndThenStartsAfresh) {
    IntervalFrames frames(Spots({FrameCell{3, 12}, std::nullopt, FrameCell{0, 0}}));
    frames.FrameArrived(Scene(3330));  // 60 °C
    frames.FrameArrived(Scene(3130));  // 40 °C
    const IntervalSummary summary = frames.TakeSummary();
    EXPECT_EQ(summary.frames, 2u);
    EXPECT_FLOAT_EQ(summary.statistics.Highest(), 60.0f);
    EXPECT_FLOAT_EQ(summary.statistics.Lowest(), 10.0f);
    EXPECT_NEAR(summary.statistics.Mean(), (254 * 20.0 + 10.0 + 50.0) / 256.0, 1e-4);
    ASSERT_EQ(summary.spots.size(), 3u);
    EXPECT_FLOAT_EQ(summary.spots[0].value_or(0.0f), 50.0f) << "the spot's mean";
    EXPECT_FALSE(summary.spots[1].has_value()) << "a hidden spot has no value";
    EXPECT_FLOAT_EQ(summary.spots[2].value_or(0.0f), 20.0f);

    const IntervalSummary next = frames.TakeSummary();
    EXPECT_EQ(next.frames, 0u);
    EXPECT_TRUE(next.statistics.Empty());
    EXPECT_FALSE(next.spots[0].has_value());
    EXPECT_EQ(frames.LatestPicture(), Scene(3130));
}

TEST(IntervalFramesTest, FramesAreAveragedAsTheSettingsAsk) {
    LogSettings settings;
    settings.averageCount = 2;
    IntervalFrames frames(settings);
    frames.FrameArrived(Scene(3330));
    frames.FrameArrived(Scene(3130));
    frames.TakeSummary();  // the first two frames pass through unaveraged
    frames.FrameArrived(Scene(3330));
    EXPECT_FLOAT_EQ(frames.TakeSummary().statistics.Highest(), 50.0f);
    EXPECT_EQ(frames.LatestPicture(), Scene(3230));
}

TEST(IntervalFramesTest, ChangedCorrectionsStartTheIntervalsValuesAfresh) {
    IntervalFrames frames(LogSettings{});
    frames.FrameArrived(Scene(3330));
    LogSettings fahrenheit;
    fahrenheit.correction.unit = temperature_unit::kFahrenheit;
    frames.SetSettings(fahrenheit);
    frames.FrameArrived(Scene(3130));
    const IntervalSummary summary = frames.TakeSummary();
    EXPECT_EQ(summary.frames, 2u);
    EXPECT_EQ(summary.unit, temperature_unit::kFahrenheit);
    EXPECT_FLOAT_EQ(summary.statistics.Highest(), 104.0f) << "no Celsius value among them";
}

TEST(ReadingMakerTest, RowHoldsTheIntervalsValuesWithCellsAsThePictureShowsThem) {
    IntervalFrames frames(Spots({FrameCell{3, 12}}));
    frames.FrameArrived(Scene(3330));
    ReadingMaker maker;
    const Reading reading = maker.Make(frames.TakeSummary(), Present(0, 0), 1700000000, "t");
    EXPECT_EQ(reading.state, "ok");
    EXPECT_EQ(reading.headSerial, 4660);
    EXPECT_EQ(reading.rangeNumber, 1);
    EXPECT_EQ(reading.rangeText, "-20 ... 100 C") << "without the head's padding";
    EXPECT_EQ(reading.framesTaken, 1u);
    EXPECT_EQ(reading.hottest, (FrameCell{3, 12}));
    EXPECT_EQ(reading.coldest, (FrameCell{14, 1}));
    EXPECT_FLOAT_EQ(reading.highest.value_or(0.0f), 60.0f);
    EXPECT_FLOAT_EQ(reading.spots.at(0).value_or(0.0f), 60.0f);
}

TEST(ReadingMakerTest, LostFramesAreCountedFromThePreviousRow) {
    IntervalFrames frames(LogSettings{});
    ReadingMaker maker;
    EXPECT_EQ(maker.Make(frames.TakeSummary(), Present(3, 1), 0, "").framesLost, 4u);
    EXPECT_EQ(maker.Make(frames.TakeSummary(), Present(3, 1), 0, "").framesLost, 0u);
    EXPECT_EQ(maker.Make(frames.TakeSummary(), Present(5, 4), 0, "").framesLost, 5u);
}

TEST(ReadingMakerTest, WithoutAHeadTheRowSaysSoAndHoldsNoValues) {
    IntervalFrames frames(Spots({FrameCell{0, 0}}));
    ReadingMaker maker;
    HeadStatus absent = Present(0, 0);
    absent.absent = true;
    const Reading reading = maker.Make(frames.TakeSummary(), absent, 0, "");
    EXPECT_EQ(reading.state, "no head");
    EXPECT_FALSE(reading.headSerial.has_value());
    EXPECT_FALSE(reading.rangeNumber.has_value());
    EXPECT_FALSE(reading.highest.has_value());
    EXPECT_FALSE(reading.hottest.has_value());
    EXPECT_FALSE(reading.spots.at(0).has_value());
    // A head that answers but has not sent a frame in the interval is still there.
    EXPECT_EQ(maker.Make(frames.TakeSummary(), Present(0, 0), 0, "").state, "ok");
}

}  // namespace
