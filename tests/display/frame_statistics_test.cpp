#include "display/frame_statistics.h"

#include <gtest/gtest.h>

#include "display/temperature_formatter.h"

namespace {

ThermalFrame SceneWithTwoSpots() {
    ThermalFrame frame = ThermalFrame::Filled(2930);  // 20 °C
    frame[3 * 16 + 12] = 3730;                        // 100 °C at row 3, column 12
    frame[14 * 16 + 1] = 2530;                        // -20 °C at row 14, column 1
    return frame;
}

TEST(FrameStatisticsTest, ExtremesCellsAndMeanOfOneFrameInEachUnit) {
    const ThermalFrame frame = SceneWithTwoSpots();
    const FrameStatistics celsius = FrameStatistics::Of(frame, {});
    EXPECT_EQ(celsius.Cells(), 256);
    EXPECT_FLOAT_EQ(celsius.Highest(), 100.0f);
    EXPECT_FLOAT_EQ(celsius.Lowest(), -20.0f);
    EXPECT_EQ(celsius.Hottest(), (FrameCell{3, 12}));
    EXPECT_EQ(celsius.Coldest(), (FrameCell{14, 1}));
    EXPECT_NEAR(celsius.Mean(), (254 * 20.0 + 100.0 - 20.0) / 256.0, 1e-4);

    const FrameStatistics fahrenheit =
        FrameStatistics::Of(frame, {temperature_unit::kFahrenheit, 0, 1.0f});
    EXPECT_FLOAT_EQ(fahrenheit.Highest(), 212.0f);
    EXPECT_FLOAT_EQ(fahrenheit.Lowest(), -4.0f);
    const FrameStatistics kelvin = FrameStatistics::Of(frame, {temperature_unit::kKelvin, 0, 1.0f});
    EXPECT_FLOAT_EQ(kelvin.Highest(), 373.0f);
}

TEST(FrameStatisticsTest, CorrectionIsTheFormattersAndTiesGoToTheFirstCell) {
    const TemperatureCorrection correction{temperature_unit::kCelsius, 250, 0.8f};
    const ThermalFrame uniform = ThermalFrame::Filled(3500);
    const FrameStatistics statistics = FrameStatistics::Of(uniform, correction);
    const float expected = TemperatureFormatter::ComputeTemperature(3500, 0, 250, 0.8f);
    EXPECT_FLOAT_EQ(statistics.Highest(), expected);
    EXPECT_FLOAT_EQ(statistics.Lowest(), expected);
    EXPECT_EQ(statistics.Hottest(), (FrameCell{0, 0}));
    EXPECT_EQ(statistics.Coldest(), (FrameCell{0, 0}));
}

TEST(FrameStatisticsTest, CellsWithoutARealResultAreLeftOut) {
    // A cold cell under a hot background with a low emissivity has no real temperature.
    ThermalFrame frame = ThermalFrame::Filled(3730);
    frame[0] = 100;
    const FrameStatistics statistics = FrameStatistics::Of(frame, {0, 1000, 0.2f});
    EXPECT_EQ(statistics.Cells(), 255);
    EXPECT_EQ(statistics.Coldest(), (FrameCell{0, 1}));
    EXPECT_TRUE(FrameStatistics::Of(frame, {0, 0, 0.0f}).Empty());
}

TEST(FrameStatisticsTest, MergedFramesKeepTheOverallExtremesAndTheMeanOfAllCells) {
    FrameStatistics interval;
    EXPECT_TRUE(interval.Empty());
    interval.Merge(FrameStatistics::Of(ThermalFrame::Filled(2830), {}));  // 10 °C
    ThermalFrame warmer = ThermalFrame::Filled(3030);                     // 30 °C
    warmer[100] = 3130;
    interval.Merge(FrameStatistics::Of(warmer, {}));
    interval.Merge(FrameStatistics{});  // an empty interval changes nothing
    EXPECT_EQ(interval.Cells(), 512);
    EXPECT_FLOAT_EQ(interval.Lowest(), 10.0f);
    EXPECT_EQ(interval.Coldest(), (FrameCell{0, 0}));  // the earlier frame's
    EXPECT_FLOAT_EQ(interval.Highest(), 40.0f);
    EXPECT_EQ(interval.Hottest(), (FrameCell{6, 4}));
    EXPECT_NEAR(interval.Mean(), (256 * 10.0 + 255 * 30.0 + 40.0) / 512.0, 1e-4);
}

}  // namespace
