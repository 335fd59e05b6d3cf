#include <gtest/gtest.h>

#include "display/battery_readout.h"

#include "display/colour_scale_layout.h"
#include "display/integer_format.h"
#include "display/range_bar_layout.h"
#include "display/temperature_formatter.h"
#include "support/fake_services.h"

namespace {

using test_support::MapStrings;

const std::string kDeg = "\xC2\xB0";

TEST(ColourScaleLayout, GradientRunsFromIndex255DownToIndex3) {
    const ColourScaleLayout layout(ScreenRect{0, 0, 40, 196});
    const auto stripes = layout.GradientStripes();
    ASSERT_EQ(stripes.size(), 190u);  // start rows 2 to 191
    EXPECT_EQ(stripes.front().rect, ScreenRect::FromSize(2, 2, 36, 3));
    EXPECT_EQ(stripes.front().colourIndex, 255);
    EXPECT_EQ(stripes.back().rect, ScreenRect::FromSize(2, 191, 36, 3));
    EXPECT_EQ(stripes.back().colourIndex, 3);
    for (std::size_t k = 1; k < stripes.size(); ++k) {
        EXPECT_LE(stripes[k].colourIndex, stripes[k - 1].colourIndex);
    }
}

TEST(ColourScaleLayout, TooSmallForAGradient) {
    EXPECT_TRUE(ColourScaleLayout(ScreenRect{0, 0, 40, 4}).GradientStripes().empty());
    EXPECT_TRUE(ColourScaleLayout(ScreenRect{0, 0, 40, 6}).GradientStripes().empty());
}

TEST(ColourScaleLayout, LabelsAre36PixelsApartFromBothEnds) {
    const auto placements = ColourScaleLayout(ScreenRect{0, 0, 40, 196}).LabelPlacements();
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(placements[k].rect, (ScreenRect{2, 2 + 36 * k, 38, 194}));
        EXPECT_EQ(placements[k].vertical, VerticalAlign::kTop);
        EXPECT_EQ(placements[k + 3].rect, (ScreenRect{2, 2, 38, 194 - 36 * k}));
        EXPECT_EQ(placements[k + 3].vertical, VerticalAlign::kBottom);
        EXPECT_EQ(placements[k].horizontal, HorizontalAlign::kCentre);
    }
}

TEST(ColourScaleLayout, LabelTextsOfTheDefaultSpan) {
    const auto values = ColourScaleLayout::LabelValues(2744, 3000);
    EXPECT_EQ(values, (std::array<std::int16_t, 6>{3000, 2949, 2898, 2744, 2795, 2846}));
    const TemperatureFormatter formatter;
    const std::string celsius[] = {"27.0", "21.9", "16.8", "1.4", "6.5", "11.6"};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(formatter.FormatTemperature(values[k], temperature_unit::kCelsius, 0, 1.0f, true),
                  celsius[k] + kDeg);
    }
    EXPECT_EQ(formatter.FormatTemperature(values[0], temperature_unit::kKelvin, 0, 1.0f, true),
              "300");
    EXPECT_EQ(formatter.FormatTemperature(values[3], temperature_unit::kKelvin, 0, 1.0f, true),
              "274");
}

TEST(ColourScaleLayout, NarrowSpanRepeatsItsEnds) {
    const auto values = ColourScaleLayout::LabelValues(2900, 2904);
    EXPECT_EQ(values, (std::array<std::int16_t, 6>{2904, 2904, 2904, 2900, 2900, 2900}));
}

TEST(RangeBarLayout, SpanEqualToTheHeadRangeFillsTheGroove) {
    const RangeBarLayout layout(ScreenRect{0, 0, 196, 35});
    EXPECT_EQ(layout.Groove(), ScreenRect::FromSize(5, 23, 186, 2));
    for (const auto& [low, high] : {std::pair<std::int16_t, std::int16_t>{2744, 3000},
                                    {2530, 3730},
                                    {2330, 4230},
                                    {2730, 12730}}) {
        const auto box = layout.Span(low, high, low, high);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->fill, ScreenRect::FromSize(4, 17, 188, 14)) << low << ".." << high;
        EXPECT_EQ(box->frame, ScreenRect::FromSize(3, 16, 190, 16)) << low << ".." << high;
    }
}

TEST(RangeBarLayout, SpanPartlyOutsideTheRangeIsNotClipped) {
    const RangeBarLayout layout(ScreenRect{0, 0, 196, 35});
    // Head range 0..100 °C; span -10..40 °C: scale 1.88 pixels per tenth of a degree.
    const auto box = layout.Span(2730, 3730, 2630, 3130);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->fill.left, static_cast<int>(-100 * 0.188f + 4.0f));
    EXPECT_EQ(box->fill.Width(), 94);
    EXPECT_LT(box->frame.left, 0);
}

TEST(RangeBarLayout, HeadRangeWithoutWidthHasNoSpanBox) {
    const RangeBarLayout layout(ScreenRect{0, 0, 196, 35});
    EXPECT_FALSE(layout.Span(0, 0, 2744, 3000).has_value());
    EXPECT_FALSE(layout.Span(3000, 2000, 2744, 3000).has_value());
}

TEST(RangeBarLayout, TextsAndCursor) {
    const RangeBarLayout layout(ScreenRect{0, 0, 196, 35});
    EXPECT_EQ(layout.RangeLowText().rect, (ScreenRect{4, 2, 193, 33}));
    EXPECT_EQ(layout.RangeLowText().horizontal, HorizontalAlign::kLeft);
    EXPECT_EQ(layout.RangeHighText().horizontal, HorizontalAlign::kRight);
    EXPECT_EQ(layout.SpanWidthText().horizontal, HorizontalAlign::kCentre);
    EXPECT_EQ(layout.CursorFrame(), (ScreenRect{2, 2, 194, 33}));
}

TEST(BatteryReadout, Texts) {
    const MapStrings strings = MapStrings::Standard();
    EXPECT_EQ(battery_readout::Text({1, 8, 100}, &strings), "100%");
    EXPECT_EQ(battery_readout::Text({1, 1, 57}, &strings), "AC");
    EXPECT_EQ(battery_readout::Text({0, 1, 57}, &strings), "57%");
    EXPECT_EQ(battery_readout::Text({0, 1, 0}, &strings), "0%");
    EXPECT_EQ(battery_readout::Text({0, 255, 255}, &strings), "--%");
    EXPECT_EQ(battery_readout::Text({255, 128, 255}, &strings), "--%");
    EXPECT_EQ(battery_readout::Text({1, 1, 57}, nullptr), "");
}

TEST(BatteryReadout, IconsByFlag) {
    EXPECT_EQ(battery_readout::IconId(1), 145);
    EXPECT_EQ(battery_readout::IconId(2), 146);
    EXPECT_EQ(battery_readout::IconId(4), 147);
    EXPECT_EQ(battery_readout::IconId(8), 148);
    EXPECT_EQ(battery_readout::IconId(128), 149);
    EXPECT_EQ(battery_readout::IconId(9), 150);
    EXPECT_EQ(battery_readout::IconId(255), 150);
    EXPECT_EQ(battery_readout::IconId(0), 150);
}

TEST(BatteryReadout, Placement) {
    const ScreenRect client{0, 0, 40, 35};
    EXPECT_EQ(battery_readout::TextPlacementIn(client).rect, (ScreenRect{3, 2, 38, 33}));
    EXPECT_EQ(battery_readout::IconOrigin(client), (ScreenPoint{12, 16}));
}

TEST(FormatIntegers, TakesOnlyIntegerConversions) {
    EXPECT_EQ(FormatIntegers("Snapshot %d of %d", {3, 12}), "Snapshot 3 of 12");
    EXPECT_EQ(FormatIntegers("%d%%", {57}), "57%");
    EXPECT_EQ(FormatIntegers("[%03d|%-3d|%3i|%u]", {7, 8, -9, 10}), "[007|8  | -9|10]");
    EXPECT_EQ(FormatIntegers("%05d", {-42}), "-0042");
    // Conversions without arguments, and ones that are not integers, stay as written.
    EXPECT_EQ(FormatIntegers("%d %d %d", {1, 2}), "1 2 %d");
    EXPECT_EQ(FormatIntegers("%s %n %x %d", {5}), "%s %n %x 5");
    EXPECT_EQ(FormatIntegers("%999999d!", {1}), "%999999d!");
    EXPECT_EQ(FormatIntegers("100%", {}), "100%");
}

}  // namespace
