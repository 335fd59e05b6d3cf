#include "acquisition/frame_integrator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Feeds frames of uniform value and returns the value shown after each.
std::vector<int> Feed(FrameIntegrator& integrator, const std::vector<int>& values, int count) {
    std::vector<int> shown;
    ThermalFrame display = ThermalFrame::Filled(0);
    for (int value : values) {
        integrator.Update(ThermalFrame::Filled(static_cast<std::uint16_t>(value)), display, count);
        shown.push_back(display[0]);
    }
    return shown;
}

TEST(FrameIntegratorTest, CountOneShowsEveryFrameAsItComes) {
    FrameIntegrator integrator;
    EXPECT_EQ(Feed(integrator, {3000, 3100, 2900, 2950}, 1),
              (std::vector<int>{3000, 3100, 2900, 2950}));
}

TEST(FrameIntegratorTest, ChangedCountPassesTheFirstFramesThenAveragesTheLastOnes) {
    FrameIntegrator integrator;
    Feed(integrator, {1000, 1000}, 1);
    // Frames k .. k+3 pass through, k+4 is the mean of k+1 .. k+4.
    EXPECT_EQ(Feed(integrator, {100, 200, 300, 400, 500, 600}, 4),
              (std::vector<int>{100, 200, 300, 400, (200 + 300 + 400 + 500) / 4,
                                (300 + 400 + 500 + 600) / 4}));
}

TEST(FrameIntegratorTest, MeanTruncatesPerPixel) {
    FrameIntegrator integrator;
    ThermalFrame display;
    ThermalFrame raw = ThermalFrame::Filled(0);
    const int values[] = {2000, 3000, 3001, 3003};  // the first one only fills
    for (int value : values) {
        raw[17] = static_cast<std::uint16_t>(value);
        raw[18] = static_cast<std::uint16_t>(value + 1);
        integrator.Update(raw, display, 3);
    }
    EXPECT_EQ(display[17], 3001);  // 9004 / 3
    EXPECT_EQ(display[18], 3002);  // 9007 / 3
    EXPECT_EQ(display[0], 0);
}

TEST(FrameIntegratorTest, TenFramesOfTheLargestValueDoNotOverflow) {
    FrameIntegrator integrator;
    const std::vector<int> hot(11, 65535);
    EXPECT_EQ(Feed(integrator, hot, 10).back(), 65535);
}

TEST(FrameIntegratorTest, CountsBelowOneShowTheRawFrame) {
    FrameIntegrator integrator;
    EXPECT_EQ(Feed(integrator, {10, 20, 30}, 0), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(Feed(integrator, {40, 50}, -3), (std::vector<int>{40, 50}));
}

TEST(FrameIntegratorTest, CountsAboveTheHistoryAreTreatedAsTen) {
    FrameIntegrator integrator;
    std::vector<int> values;
    for (int i = 1; i <= 11; ++i) {
        values.push_back(i * 100);
    }
    const std::vector<int> shown = Feed(integrator, values, 25);
    EXPECT_EQ(shown[9], 1000);  // still filling
    EXPECT_EQ(shown[10], 650);  // mean of 200 .. 1100
}

}  // namespace
