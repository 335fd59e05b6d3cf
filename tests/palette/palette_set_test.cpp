#include "palette/palette_set.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Rgb = std::tuple<int, int, int>;

Rgb RgbOf(ColourRef colour) {
    return {RedOf(colour), GreenOf(colour), BlueOf(colour)};
}

class PaletteSetTest : public ::testing::Test {
  protected:
    Rgb Entry(int palette, int index) const { return RgbOf(palettes_.Colour(index, palette)); }

    PaletteSet palettes_;
};

TEST_F(PaletteSetTest, HasThreeNamedPalettes) {
    EXPECT_EQ(palettes_.Count(), 3);
    EXPECT_EQ(palettes_.Name(0), "Greyscale (standard)");
    EXPECT_EQ(palettes_.Name(1), "Red Blue (standard)");
    EXPECT_EQ(palettes_.Name(2), "Green Blue (standard)");
}

TEST_F(PaletteSetTest, EveryPaletteStartsBlack) {
    for (int palette = 0; palette < 3; ++palette) {
        EXPECT_EQ(palettes_.Colour(0, palette), 0u) << "palette " << palette;
    }
}

TEST_F(PaletteSetTest, GreyscaleEntries) {
    EXPECT_EQ(Entry(0, 200), Rgb(200, 200, 200));
    EXPECT_EQ(Entry(0, 255), Rgb(255, 255, 255));
}

TEST_F(PaletteSetTest, RedBlueEntriesAtStretchBorders) {
    EXPECT_EQ(Entry(1, 51), Rgb(0, 0, 255));
    EXPECT_EQ(Entry(1, 52), Rgb(4, 0, 255));
    EXPECT_EQ(Entry(1, 102), Rgb(254, 0, 255));
    EXPECT_EQ(Entry(1, 103), Rgb(255, 0, 252));
    EXPECT_EQ(Entry(1, 154), Rgb(255, 2, 0));
    EXPECT_EQ(Entry(1, 205), Rgb(255, 255, 1));
    EXPECT_EQ(Entry(1, 255), Rgb(255, 255, 251));
}

TEST_F(PaletteSetTest, GreenBlueEntriesAtStretchBorders) {
    EXPECT_EQ(Entry(2, 14), Rgb(0, 0, 126));
    EXPECT_EQ(Entry(2, 15), Rgb(7, 0, 128));
    EXPECT_EQ(Entry(2, 56), Rgb(255, 0, 248));
    EXPECT_EQ(Entry(2, 57), Rgb(254, 0, 255));
    EXPECT_EQ(Entry(2, 127), Rgb(0, 128, 8));
    EXPECT_EQ(Entry(2, 128), Rgb(0, 128, 0));
    EXPECT_EQ(Entry(2, 184), Rgb(128, 7, 0));
    EXPECT_EQ(Entry(2, 185), Rgb(129, 0, 0));
    EXPECT_EQ(Entry(2, 255), Rgb(255, 255, 247));
}

TEST_F(PaletteSetTest, ColourIsACompactRedLowWord) {
    EXPECT_EQ(palettes_.Colour(255, 1), 0x00FBFFFFu);
    for (int palette = 0; palette < 3; ++palette) {
        for (int index = 0; index < 256; ++index) {
            EXPECT_EQ(palettes_.Colour(index, palette) >> 24, 0u);
        }
    }
}

TEST_F(PaletteSetTest, OutOfRangeLookupsStayInsideTheTables) {
    EXPECT_EQ(palettes_.Colour(-5, 1), palettes_.Colour(0, 1));
    EXPECT_EQ(palettes_.Colour(300, 1), palettes_.Colour(255, 1));
    // Any number but 0 and 1 is the third palette, as the colour bar shows it.
    EXPECT_EQ(palettes_.Colour(100, -1), palettes_.Colour(100, 2));
    EXPECT_EQ(palettes_.Colour(100, 7), palettes_.Colour(100, 2));
    EXPECT_EQ(palettes_.Name(9), "Green Blue (standard)");
    EXPECT_EQ(palettes_.Name(-2), "Green Blue (standard)");
}

}  // namespace
