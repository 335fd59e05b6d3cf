#include "display/thermal_image_layout.h"

#include <gtest/gtest.h>

namespace {

constexpr int kCell = 12;
const ScreenRect kClient{0, 0, 196, 196};

MarkerCell At(int column, int row) {
    return {column, row};
}

class MarkerTextTest : public ::testing::Test {
  protected:
    TextPlacement First(MarkerCell first, MarkerCell second, bool secondShown = true) const {
        return layout_.MarkerText(0, first, second, secondShown);
    }
    TextPlacement Second(MarkerCell first, MarkerCell second) const {
        return layout_.MarkerText(1, first, second, true);
    }

    const ThermalImageLayout layout_{kClient};
};

TextPlacement RightOf(MarkerCell cell) {
    return {{(cell.column + 1) * kCell + 5, cell.row * kCell + 1, 194, 194},
            HorizontalAlign::kLeft,
            VerticalAlign::kTop};
}
TextPlacement LeftOf(MarkerCell cell) {
    return {{2, cell.row * kCell + 1, cell.column * kCell, 194},
            HorizontalAlign::kRight,
            VerticalAlign::kTop};
}
int RowAboveTop(MarkerCell cell) {
    return cell.row == 0 ? kCell + 2 : (cell.row - 1) * kCell + 1;
}
TextPlacement AboveFrom(MarkerCell cell) {
    return {{cell.column * kCell + 3, RowAboveTop(cell), 194, 194},
            HorizontalAlign::kLeft,
            VerticalAlign::kTop};
}
TextPlacement AboveUpTo(MarkerCell cell) {
    return {{2, RowAboveTop(cell), (cell.column + 1) * kCell + 2, 194},
            HorizontalAlign::kRight,
            VerticalAlign::kTop};
}

TEST(MarkerCell, PositionByteAndFrameIndex) {
    const MarkerCell cell = MarkerCell::FromPosition(135);
    EXPECT_EQ(cell, At(7, 8));
    // Received index 16 × (15 − c) + r is reversed index 255 minus it.
    EXPECT_EQ(cell.ReversedFrameIndex(), 255 - (16 * (15 - 7) + 8));
    EXPECT_EQ(MarkerCell::FromPosition(255), At(15, 15));
}

TEST(ThermalImageLayout, CellsAndFixedShapes) {
    const ThermalImageLayout layout(kClient);
    EXPECT_EQ(layout.CellWidth(), 12);
    EXPECT_EQ(layout.CellHeight(), 12);
    EXPECT_EQ(layout.Reticle(), (ScreenRect{88, 100, 96, 108}));
    EXPECT_EQ(layout.MarkerBox(At(7, 8)), ScreenRect::FromSize(87, 99, 10, 10));
    EXPECT_EQ(layout.CursorFrame(At(8, 8)), ScreenRect::FromSize(98, 98, 12, 12));
    EXPECT_EQ(ThermalImageLayout(ScreenRect{0, 0, 100, 60}).CellWidth(), 6);
    EXPECT_EQ(ThermalImageLayout(ScreenRect{0, 0, 100, 60}).CellHeight(), 3);
}

TEST_F(MarkerTextTest, LoneMarkerGoesRightUpToColumnNineThenLeft) {
    EXPECT_EQ(First(At(9, 4), At(0, 0), false), RightOf(At(9, 4)));
    EXPECT_EQ(First(At(10, 4), At(0, 0), false), LeftOf(At(10, 4)));
    EXPECT_EQ(First(At(10, 4), At(0, 0), false).rect.right, 120);  // the marker's left edge
}

TEST_F(MarkerTextTest, MarkersInDifferentRowsEachGoBesideThemselves) {
    EXPECT_EQ(First(At(3, 2), At(12, 9)), RightOf(At(3, 2)));
    EXPECT_EQ(Second(At(3, 2), At(12, 9)), LeftOf(At(12, 9)));
}

TEST_F(MarkerTextTest, DefaultMarkersSideBySide) {
    EXPECT_EQ(First(At(7, 8), At(8, 8)), LeftOf(At(7, 8)));
    EXPECT_EQ(Second(At(7, 8), At(8, 8)), RightOf(At(8, 8)));
}

TEST_F(MarkerTextTest, CloseMarkersOnTheLeftMoveTheFirstTextUp) {
    EXPECT_EQ(First(At(3, 5), At(4, 5)), AboveFrom(At(3, 5)));
    EXPECT_EQ(Second(At(3, 5), At(4, 5)), RightOf(At(4, 5)));
}

TEST_F(MarkerTextTest, CloseMarkersOnTheRight) {
    // Both beyond column 9: marker 1 on the left, marker 2 above up to itself.
    EXPECT_EQ(First(At(12, 6), At(13, 6)), LeftOf(At(12, 6)));
    EXPECT_EQ(Second(At(12, 6), At(13, 6)), AboveUpTo(At(13, 6)));
    // Marker 2 left of marker 1, both far right: marker 1 right is impossible.
    EXPECT_EQ(First(At(13, 6), At(12, 6)), AboveUpTo(At(13, 6)));
    EXPECT_EQ(Second(At(13, 6), At(12, 6)), LeftOf(At(12, 6)));
}

TEST_F(MarkerTextTest, FarApartMarkersInOneRow) {
    EXPECT_EQ(First(At(1, 7), At(14, 7)), RightOf(At(1, 7)));
    EXPECT_EQ(Second(At(1, 7), At(14, 7)), LeftOf(At(14, 7)));
    EXPECT_EQ(First(At(14, 7), At(1, 7)), LeftOf(At(14, 7)));
    EXPECT_EQ(Second(At(14, 7), At(1, 7)), RightOf(At(1, 7)));
    // Seven apart with marker 1 left of column 10: marker 2 goes right of itself.
    EXPECT_EQ(Second(At(9, 7), At(2, 7)), RightOf(At(2, 7)));
    EXPECT_EQ(First(At(9, 7), At(2, 7)), RightOf(At(9, 7)));
}

TEST_F(MarkerTextTest, FallbackInTheTopRowGoesToTheRowBelow) {
    const TextPlacement first = First(At(2, 0), At(3, 0));
    EXPECT_EQ(first, AboveFrom(At(2, 0)));
    EXPECT_EQ(first.rect.top, 14);
    const TextPlacement second = Second(At(11, 0), At(12, 0));
    EXPECT_EQ(second, AboveUpTo(At(12, 0)));
    EXPECT_EQ(second.rect.top, 14);
}

TEST(ThermalImageLayout, DifferenceReadoutRisesAboveBottomMarkers) {
    const ThermalImageLayout layout(kClient);
    const TextPlacement normal = layout.DifferenceText(At(7, 8), At(8, 8));
    EXPECT_EQ(normal.rect, (ScreenRect{4, 4, 192, 193}));
    EXPECT_EQ(normal.horizontal, HorizontalAlign::kRight);
    EXPECT_EQ(normal.vertical, VerticalAlign::kBottom);
    EXPECT_EQ(layout.DifferenceText(At(7, 15), At(8, 3)).rect.bottom, 193 - 2 * kCell);
    EXPECT_EQ(layout.DifferenceText(At(7, 15), At(8, 13)).rect.bottom, 193 - 6 * kCell);
    EXPECT_EQ(layout.DifferenceText(At(7, 13), At(8, 13)).rect.bottom, 193);
}

TEST(ThermalImageLayout, DifferenceTriangleSitsInTheGapBeforeTheLastLetter) {
    const auto triangle = ThermalImageLayout::DifferenceTriangle(ScreenRect{4, 4, 192, 193});
    EXPECT_EQ(triangle[0], (ScreenPoint{184, 190}));
    EXPECT_EQ(triangle[1], (ScreenPoint{174, 190}));
    EXPECT_EQ(triangle[2], (ScreenPoint{179, 182}));
    EXPECT_EQ(triangle[3], triangle[0]);
}

TEST(ThermalImageLayout, StatusLinesMoveDownClearOfTopMarkers) {
    const ThermalImageLayout layout(kClient);
    EXPECT_EQ(layout.StatusLine(0, At(7, 8), At(8, 8)).rect, (ScreenRect{5, 3, 193, 193}));
    EXPECT_EQ(layout.StatusLine(2, At(7, 8), At(8, 8)).rect.top, 3 + 28);
    EXPECT_EQ(layout.StatusLine(0, At(7, 2), At(8, 9)).rect.top, 3 + 4 * kCell);
    EXPECT_EQ(layout.StatusLine(0, At(7, 2), At(8, 5)).rect.top, 3 + 8 * kCell);
    EXPECT_EQ(layout.StatusLine(1, At(7, 5), At(8, 1)).rect.top, 3 + 8 * kCell + 14);
    // A marker in rows 4 to 7 alone does not move the block.
    EXPECT_EQ(layout.StatusLine(0, At(7, 5), At(8, 9)).rect.top, 3);
}

TEST(ThermalImageLayout, EdgeMaskBands) {
    const ThermalImageLayout layout(kClient);
    const auto plain = layout.EdgeMaskBands(false);
    EXPECT_EQ(plain[0], ScreenRect::FromSize(2, 2, 192, 12));
    EXPECT_EQ(plain[1], ScreenRect::FromSize(2, 182, 192, 12));
    EXPECT_EQ(plain[2], ScreenRect::FromSize(2, 14, 12, 168));
    EXPECT_EQ(plain[3], ScreenRect::FromSize(182, 14, 12, 168));
    const auto smooth = layout.EdgeMaskBands(true);
    EXPECT_EQ(smooth[0], ScreenRect::FromSize(2, 2, 192, 18));
    EXPECT_EQ(smooth[1], ScreenRect::FromSize(2, 176, 192, 18));
    EXPECT_EQ(smooth[2], ScreenRect::FromSize(2, 20, 18, 156));
    EXPECT_EQ(smooth[3], ScreenRect::FromSize(176, 20, 18, 156));
}

}  // namespace
