#include "display/qt/colour_scale_control.h"

#include <gtest/gtest.h>
#include <QImage>

#include "display/qt/gdi_painter.h"
#include "display/widget_test_support.h"
#include "palette/palette_set.h"

namespace {

class ColourScaleControlTest : public ::testing::Test {
  protected:
    ColourScaleControlTest() {
        control_.resize(40, 196);
        control_.Initialise(&palettes_, StateWithSpan(2744, 3000));
    }

    QImage Paint() { return *control_.PaintOffscreen(); }
    QRgb Colour(int index, int palette) const {
        return GdiPainter::FromColourRef(palettes_.Colour(index, palette)).rgb();
    }

    PaletteSet palettes_;
    ColourScaleControl control_;
};

int CountPixels(const QImage& image, const QRect& rect, QRgb colour) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST_F(ColourScaleControlTest, GradientFromIndex255AtTheTopToIndex3AtTheBottom) {
    const QImage image = Paint();
    EXPECT_EQ(image.pixel(2, 2), Colour(255, 0));
    EXPECT_EQ(image.pixel(2, 193), Colour(3, 0));
    EXPECT_EQ(image.pixel(37, 100), image.pixel(2, 100));
    EXPECT_EQ(image.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(38, 194), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(39, 195), qRgb(255, 255, 255));
}

TEST_F(ColourScaleControlTest, LabelsUseTheOppositeEndsColours) {
    const QImage image = Paint();
    // Black text (index 0) near the white top, white text (index 255) near the dark bottom.
    EXPECT_GT(CountPixels(image, QRect(2, 2, 36, 13), Colour(0, 0)), 10);
    EXPECT_GT(CountPixels(image, QRect(2, 181, 36, 13), Colour(255, 0)), 10);
    // The three upper labels are 36 pixels apart.
    EXPECT_GT(CountPixels(image, QRect(2, 38, 36, 13), Colour(0, 0)), 10);
    EXPECT_GT(CountPixels(image, QRect(2, 74, 36, 13), Colour(0, 0)), 10);
    EXPECT_EQ(CountPixels(image, QRect(2, 110, 36, 30), Colour(0, 0)), 0);
}

TEST_F(ColourScaleControlTest, PaletteChangeSwitchesToAnotherReadyBar) {
    Paint();
    // A number outside 0..2 shows the third palette, in the bar and in the labels alike.
    for (const std::int16_t palette : {1, 2, 0, 7, -1}) {
        ChangeState(control_, [&](DisplayState& s) { s.paletteNumber = palette; });
        const QImage image = Paint();
        const int shown = palette == 0 || palette == 1 ? palette : 2;
        EXPECT_EQ(image.pixel(2, 100), Colour(255 - static_cast<int>(98 * (256.0f / 192)), shown))
            << palette;
        EXPECT_EQ(image.pixel(2, 2), Colour(255, shown)) << palette;
        EXPECT_GT(CountPixels(image, QRect(2, 181, 36, 13), Colour(255, shown)), 10) << palette;
    }
}

}  // namespace
