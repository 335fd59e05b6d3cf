#include "document/span_adjuster.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using Span = std::pair<int, int>;

constexpr std::uint16_t kRangeLow = 2630;
constexpr std::uint16_t kRangeHigh = 5730;

template <typename Move>
Span Apply(Span span, Move move) {
    auto low = static_cast<std::uint16_t>(span.first);
    auto high = static_cast<std::uint16_t>(span.second);
    move(low, high);
    return {low, high};
}

Span Down(Span s) {
    return Apply(s, [](auto& l, auto& h) { span_adjuster::ShiftDown(l, h, kRangeLow); });
}
Span Up(Span s) {
    return Apply(s, [](auto& l, auto& h) { span_adjuster::ShiftUp(l, h, kRangeHigh); });
}
Span Widen(Span s) {
    return Apply(s, [](auto& l, auto& h) { span_adjuster::Widen(l, h, kRangeLow, kRangeHigh); });
}
Span Narrow(Span s) {
    return Apply(s, [](auto& l, auto& h) { span_adjuster::Narrow(l, h); });
}

TEST(SpanAdjusterTest, ShiftsStopAtTheRangeLimits) {
    EXPECT_EQ(Down({2930, 3130}), Span(2920, 3120));
    EXPECT_EQ(Down({2630, 2830}), Span(2630, 2830));
    EXPECT_EQ(Down({2635, 2835}), Span(2625, 2825));  // ends 5 below the limit
    EXPECT_EQ(Up({2930, 3130}), Span(2940, 3140));
    EXPECT_EQ(Up({5530, 5730}), Span(5530, 5730));
    EXPECT_EQ(Up({5525, 5725}), Span(5535, 5735));
}

TEST(SpanAdjusterTest, WidenGrowsToWholeKelvinAndTwoKelvinSteps) {
    EXPECT_EQ(Widen({2930, 3130}), Span(2920, 3140));
    EXPECT_EQ(Widen({2635, 2835}), Span(2630, 2850));  // low clamped, high raised by 10
    EXPECT_EQ(Widen({5500, 5735}), Span(5480, 5730));  // high clamped, low lowered by 10
    EXPECT_EQ(Widen({3000, 5000}), Span(3000, 5000));  // 200 K or more: unchanged
    EXPECT_EQ(Widen({2937, 2951}), Span(2920, 2960));
}

TEST(SpanAdjusterTest, NarrowShrinksToNoLessThanTwoKelvin) {
    EXPECT_EQ(Narrow({2930, 3130}), Span(2940, 3120));
    EXPECT_EQ(Narrow({2930, 2960}), Span(2940, 2960));
    EXPECT_EQ(Narrow({2930, 2950}), Span(2930, 2950));
    EXPECT_EQ(Narrow({2931, 2979}), Span(2950, 2970));
    Span span{2000, 4000};
    for (int i = 0; i < 200; ++i) {
        span = Narrow(span);
    }
    EXPECT_EQ(span.second - span.first, 20);
}

TEST(SpanAdjusterTest, MovesNeverWrapAroundTheSixteenBitRange) {
    const auto downAtZero =
        Apply({5, 15}, [](auto& l, auto& h) { span_adjuster::ShiftDown(l, h, 0); });
    EXPECT_EQ(downAtZero, Span(0, 5));
    const auto upAtTop =
        Apply({65530, 65534}, [](auto& l, auto& h) { span_adjuster::ShiftUp(l, h, 65535); });
    EXPECT_EQ(upAtTop, Span(65535, 65535));
    const auto widenAtZero =
        Apply({3, 40}, [](auto& l, auto& h) { span_adjuster::Widen(l, h, 0, 65535); });
    EXPECT_GE(widenAtZero.first, 0);
    EXPECT_LT(widenAtZero.first, widenAtZero.second);
    EXPECT_LE(widenAtZero.second, 100);
    const auto widenAtTop =
        Apply({65000, 65535}, [](auto& l, auto& h) { span_adjuster::Widen(l, h, 0, 65535); });
    EXPECT_EQ(widenAtTop, Span(64990, 65530));
    const auto narrowAtTop = Narrow({65531, 65535});
    EXPECT_LE(narrowAtTop.first, 65535);
    EXPECT_LE(narrowAtTop.second, 65535);
}

}  // namespace
