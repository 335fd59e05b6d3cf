#include "acquisition/auto_range.h"

#include <gtest/gtest.h>

namespace {

struct Span {
    std::uint16_t low;
    std::uint16_t high;
};

Span UpdateOnce(const ThermalFrame& frame, Span span) {
    AutoRange range;
    range.Update(frame, span.low, span.high);
    return span;
}

// Repeats the update until the span stops moving.
Span Settle(const ThermalFrame& frame, Span span) {
    AutoRange range;
    for (int i = 0; i < 1000; ++i) {
        const Span before = span;
        range.Update(frame, span.low, span.high);
        if (before.low == span.low && before.high == span.high) {
            break;
        }
    }
    return span;
}

TEST(AutoRangeTest, UniformSceneMovesTheSpanAnEighthOfTheWay) {
    const Span span = UpdateOnce(ThermalFrame::Filled(3000), {2930, 3130});
    EXPECT_EQ(span.low, 2938);
    EXPECT_EQ(span.high, 3115);
}

TEST(AutoRangeTest, SmoothedMinimumStartsAt4095) {
    // Everything hotter than 409.5 K: the low end moves toward 4095, not the scene.
    const Span span = UpdateOnce(ThermalFrame::Filled(5000), {4000, 5100});
    EXPECT_EQ(span.low, 4011);   // (4095 - 4000) / 8 + 4000
    EXPECT_EQ(span.high, 5090);  // (5025 - 5100) / 8 + 5100
}

TEST(AutoRangeTest, RisingBoundStopsBelowItsTargetAndFallingBoundReachesIt) {
    EXPECT_EQ(UpdateOnce(ThermalFrame::Filled(2937), {2930, 4000}).low, 2930);
    const Span settled = Settle(ThermalFrame::Filled(3000), {2000, 4000});
    EXPECT_GE(settled.low, 3000 - 7);
    EXPECT_LT(settled.low, 3000);
    EXPECT_EQ(settled.high, 3015);  // falls exactly onto 3000 * 201 / 200
}

TEST(AutoRangeTest, HighTargetIsHalfAPercentAboveTheMaximum) {
    for (int maximum : {0, 199, 200, 2999, 12345, 40000, 65000, 65208}) {
        const Span settled =
            Settle(ThermalFrame::Filled(static_cast<std::uint16_t>(maximum)), {0, 65535});
        EXPECT_EQ(settled.high, maximum * 201 / 200) << maximum;
    }
    // Beyond the 16-bit range the target saturates instead of wrapping.
    EXPECT_EQ(Settle(ThermalFrame::Filled(65535), {0, 65535}).high, 65535);
}

TEST(AutoRangeTest, SmoothingWeighsTheFourNeighboursOfTheCentreWindow) {
    ThermalFrame frame = ThermalFrame::Filled(3000);
    frame[16 * 7 + 7] = 4000;  // centre pixel: (4 * 4000 + 4 * 3000) / 8 = 3500
    frame[0] = 9000;           // outside the window and its neighbours: ignored
    frame[15] = 100;
    EXPECT_EQ(Settle(frame, {2000, 65535}).high, 3500 * 201 / 200);

    ThermalFrame edge = ThermalFrame::Filled(3000);
    edge[16 * 4 + 7] = 4000;  // row 4 is only a neighbour of row 5: (7 * 3000 + 4000) / 8
    edge[16 * 11 + 7] = 0;    // row 11 likewise for row 10: (7 * 3000 + 0) / 8
    const Span span = Settle(edge, {3000, 65535});
    EXPECT_EQ(span.high, 3125 * 201 / 200);
    EXPECT_EQ(span.low, 2625);
}

}  // namespace
