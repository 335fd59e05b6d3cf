#include "display/temperature_trend.h"

#include <gtest/gtest.h>

#include "display/picture_renderer.h"
#include "display/thermal_image_layout.h"

namespace {

using namespace std::chrono_literals;
using Clock = TemperatureTrend::Clock;
using Reading = TemperatureTrend::Reading;

const Clock::time_point kStart{std::chrono::hours(100)};

Reading At(Clock::duration since, std::int16_t value, std::uint16_t serial = 7) {
    Reading reading;
    reading.time = kStart + since;
    reading.headSerial = serial;
    reading.highest = static_cast<std::int16_t>(value + 50);
    reading.lowest = static_cast<std::int16_t>(value - 50);
    reading.spot1 = value;
    reading.spot2 = value;
    return reading;
}

TEST(TemperatureTrendTest, HoldsOnePointPerSecondOfItsWindowAndDropsTheOldest) {
    TemperatureTrend trend;
    // Twenty minutes of frames at the acquisition's pace.
    Clock::duration since{};
    for (; since < 20min; since += 75ms) {
        trend.Add(At(since, 3000));
    }
    const Clock::time_point now = kStart + since;
    EXPECT_EQ(trend.Size(), 900u);
    const auto all = trend.Points(now, 15min);
    ASSERT_EQ(all.size(), 900u);
    EXPECT_EQ(trend.Points(now, 5min).size(), 300u);
    const auto minute = trend.Points(now, 1min);
    ASSERT_EQ(minute.size(), 60u);
    EXPECT_EQ(minute.back().time, kStart + 1199s);
    EXPECT_EQ(minute.front().time, kStart + 1140s);
    // The oldest that is kept is 15 minutes before the newest; one second each.
    EXPECT_EQ(all.front().time, kStart + 300s);
    for (std::size_t k = 1; k < all.size(); ++k) {
        ASSERT_EQ(all[k].time - all[k - 1].time, 1s);
    }
    // Without frames for a while, the window shows what is left of it.
    EXPECT_EQ(trend.Points(now + 50s, 1min).size(), 10u);
}

TEST(TemperatureTrendTest, ASecondKeepsItsExtremesAndTheMeanOfItsSpots) {
    TemperatureTrend trend;
    Reading first = At(100ms, 3000);
    Reading second = At(400ms, 3003);
    second.highest = 3300;
    second.lowest = 2700;
    second.spot2.reset();  // spot 2 hidden meanwhile
    Reading third = At(900ms, 3010);
    trend.Add(first);
    trend.Add(second);
    trend.Add(third);
    trend.Add(At(1100ms, 2000));
    const auto points = trend.Points(kStart + 2s, 1min);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].time, kStart);
    EXPECT_EQ(points[0].highest, 3300);
    EXPECT_EQ(points[0].lowest, 2700);
    EXPECT_EQ(points[0].spot1, 3004);    // (3000 + 3003 + 3010) / 3, rounded
    EXPECT_EQ(points[0].spot2, 3005);    // (3000 + 3010) / 2
    EXPECT_EQ(points[1].highest, 2050);  // the next second starts afresh
}

// A long window is shown in stretches of whole seconds that stay put as time goes on; a
// one-second spike survives in its stretch.
TEST(TemperatureTrendTest, LongWindowsMergeSecondsIntoFixedStretchesKeepingTheExtremes) {
    EXPECT_EQ(TemperatureTrend::Stretch(1min, 200), 1s);
    EXPECT_EQ(TemperatureTrend::Stretch(5min, 200), 2s);
    EXPECT_EQ(TemperatureTrend::Stretch(15min, 200), 5s);
    TemperatureTrend trend;
    for (auto second = 0s; second < 15min; ++second) {
        Reading reading = At(second, second == 403s ? 3500 : 3000);
        reading.spot1 = static_cast<std::int16_t>(3000 + second.count() % 5);
        trend.Add(reading);
    }
    const auto points = trend.Points(kStart + 15min, 15min, 200);
    ASSERT_EQ(points.size(), 180u);
    EXPECT_EQ(points[80].time, kStart + 400s);
    EXPECT_EQ(points[80].highest, 3550);
    EXPECT_EQ(points[80].spot1, 3002);  // the mean of 3000 ... 3004
    EXPECT_EQ(points[81].highest, 3050);
    const auto later = trend.Points(kStart + 15min + 6s, 15min, 200);
    EXPECT_EQ(later[79].time, kStart + 400s);
}

TEST(TemperatureTrendTest, FramesOfAnotherHeadStartAnew) {
    TemperatureTrend trend;
    for (int k = 0; k < 10; ++k) {
        trend.Add(At(k * 1s, 3000, 7));
    }
    trend.Add(At(10s, 2900, 8));
    const auto points = trend.Points(kStart + 11s, 15min);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].spot1, 2900);
}

// The spots are read where the picture shows them, and a frame cell is shown where its
// marker cell says: the same mapping as the picture's own spot readouts.
TEST(TemperatureTrendTest, ReadingTakesTheStatisticsCellsAndTheSpotsAsThePictureShowsThem) {
    ThermalFrame frame;
    for (int i = 0; i < kFramePixels; ++i) {
        frame[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(2800 + i);
    }
    const auto reversed = PictureRenderer::Reverse(frame);
    for (int position = 0; position < kFramePixels; ++position) {
        const MarkerCell cell = MarkerCell::FromPosition(static_cast<std::uint8_t>(position));
        ASSERT_EQ(static_cast<std::int16_t>(frame[static_cast<std::size_t>(cell.FrameIndex())]),
                  reversed[static_cast<std::size_t>(cell.ReversedFrameIndex())]);
        const FrameCell inFrame{cell.FrameIndex() / kFrameSide, cell.FrameIndex() % kFrameSide};
        ASSERT_EQ(MarkerCell::FromFrameCell(inFrame), cell);
    }

    frame[3 * 16 + 12] = 3900;
    frame[14 * 16 + 1] = 2500;
    // Spot 1 at column 2, row 5 of the picture; spot 2 at column 15, row 0.
    const Reading reading = TemperatureTrend::ReadingOf(frame, {}, {5 * 16 + 2, 15}, true);
    EXPECT_EQ(reading.highest, 3900);
    EXPECT_EQ(reading.lowest, 2500);
    EXPECT_EQ(reading.spot1, reversed[16 * 2 + 15 - 5]);
    EXPECT_EQ(reading.spot2, reversed[16 * 15 + 15]);
    EXPECT_FALSE(TemperatureTrend::ReadingOf(frame, {}, {0, 0}, false).spot2.has_value());
}

}  // namespace
