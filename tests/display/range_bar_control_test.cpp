#include "display/qt/range_bar_control.h"

#include <gtest/gtest.h>
#include <QImage>

#include "display/widget_test_support.h"

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kLightGrey = qRgb(192, 192, 192);
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kRaised = qRgb(224, 224, 224);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kDarkRed = qRgb(128, 0, 0);

class RangeBarControlTest : public ::testing::Test {
  protected:
    RangeBarControlTest() {
        control_.resize(196, 35);
        control_.SetStringResources(&strings_);
        control_.Initialise(2530, 3730, StateWithSpan(2530, 3730));
    }

    QImage Paint() { return *control_.PaintOffscreen(); }

    MapStrings strings_ = MapStrings::Standard();
    RangeBarControl control_;
};

TEST_F(RangeBarControlTest, SpanEqualToTheHeadRangeCoversTheGroove) {
    const QImage image = Paint();
    // Box x = 4, width 188, y 17 to 30, inside a raised frame at x 3 to 192, y 16 to 31.
    EXPECT_EQ(image.pixel(4, 24), kLightGrey);
    EXPECT_EQ(image.pixel(191, 24), kLightGrey);
    EXPECT_EQ(image.pixel(3, 20), kRaised);
    EXPECT_EQ(image.pixel(100, 16), kRaised);
    EXPECT_EQ(image.pixel(192, 20), kGrey);
    EXPECT_EQ(image.pixel(100, 31), kGrey);
    // The scale area outside the box is white.
    EXPECT_EQ(image.pixel(2, 24), kWhite);
    EXPECT_EQ(image.pixel(193, 24), kWhite);
    // Sunken border.
    EXPECT_EQ(image.pixel(0, 0), kGrey);
    EXPECT_EQ(image.pixel(195, 34), kWhite);
}

TEST_F(RangeBarControlTest, NarrowSpanShowsTheGrooveBesideIt) {
    ChangeState(control_, [](DisplayState& s) {
        s.spanLow = 3130;
        s.spanHigh = 3430;
    });  // 40 to 70 °C of -20 to 100 °C
    const QImage image = Paint();
    const int left = static_cast<int>(600 * (188 / 1200.0f) + 4);
    EXPECT_EQ(image.pixel(left + 5, 24), kLightGrey);
    EXPECT_EQ(image.pixel(left - 1, 20), kRaised);
    // The groove, left of the box: light grey top row, grey bottom row.
    EXPECT_EQ(image.pixel(30, 23), kLightGrey);
    EXPECT_EQ(image.pixel(30, 24), kGrey);
    EXPECT_EQ(image.pixel(30, 20), kWhite);
}

TEST_F(RangeBarControlTest, HeadRangeWithoutWidthDrawsNoBox) {
    control_.SetRangeLimits(0, 0);
    const QImage image = Paint();
    for (int x = 2; x < 194; ++x) {
        EXPECT_NE(image.pixel(x, 28), kLightGrey) << x;
        EXPECT_NE(image.pixel(x, 16), kRaised) << x;
    }
    EXPECT_EQ(image.pixel(30, 23), kLightGrey);  // the groove is still there
}

TEST_F(RangeBarControlTest, CursorFrameBlinksOnlyInSpanMode) {
    EXPECT_NE(Paint().pixel(2, 2), kRed);
    ChangeState(control_, [](DisplayState& s) { s.selection = DisplayState::kSpan; });
    QImage image = Paint();
    EXPECT_EQ(image.pixel(2, 2), kRed);
    EXPECT_EQ(image.pixel(193, 32), kDarkRed);
    EXPECT_EQ(image.pixel(193, 2), kDarkRed);
    control_.ToggleCursor();
    EXPECT_FALSE(control_.CursorVisible());
    EXPECT_NE(Paint().pixel(2, 2), kRed);
    control_.ToggleCursor();
    EXPECT_EQ(Paint().pixel(2, 2), kRed);
}

TEST_F(RangeBarControlTest, TextsFollowTheCorrection) {
    const QImage plain = Paint();
    ChangeState(control_, [](DisplayState& s) {
        s.emissivity = 0.5f;
        s.background = 200;
    });
    const QImage corrected = Paint();
    // The limits at both ends and the span width in the middle all change.
    EXPECT_NE(plain.copy(4, 2, 50, 13), corrected.copy(4, 2, 50, 13));
    EXPECT_NE(plain.copy(140, 2, 53, 13), corrected.copy(140, 2, 53, 13));
    EXPECT_NE(plain.copy(75, 2, 46, 13), corrected.copy(75, 2, 46, 13));
}

}  // namespace
