#pragma once

#include <array>
#include <cstdint>

#include "display/frame_statistics.h"
#include "display/screen_rect.h"
#include "display/text_placement.h"

// A spot marker's screen cell: 16 × 16 cells, row 0 at the top, column 0 at the left.
struct MarkerCell {
    int column = 0;
    int row = 0;

    // The position byte: row × 16 + column.
    static MarkerCell FromPosition(std::uint8_t position) { return {position % 16, position / 16}; }
    // The cell that shows received value `index` (0..255) of a frame.
    static MarkerCell FromFrameIndex(int index) { return {15 - index / 16, index % 16}; }
    // The index of the received value the cell shows: 16·(15 − column) + row.
    int FrameIndex() const { return 16 * (15 - column) + row; }
    // The reversed frame holds the marker's temperature at 16·column + 15 − row.
    int ReversedFrameIndex() const { return 16 * column + 15 - row; }
    // The picture shows frame row r as screen column 15 − r and frame column c as screen
    // row c.
    static MarkerCell FromFrameCell(FrameCell cell) {
        return {kFrameSide - 1 - cell.row, cell.column};
    }
    bool operator==(const MarkerCell&) const = default;
};

// Where the thermal image control draws what, from its client rectangle. Cells are
// (client width − 4) / 16 by (client height − 4) / 16 pixels; the picture sits at (2, 2).
class ThermalImageLayout {
  public:
    static constexpr int kPictureOrigin = 2;
    static constexpr int kStatusLineSpacing = 14;

    explicit ThermalImageLayout(const ScreenRect& client);

    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }

    // Bounding box of the centre reticle, inside cell (column 7, row 8).
    ScreenRect Reticle() const;
    // The one-pixel marker outline, one pixel inside the cell.
    ScreenRect MarkerBox(MarkerCell cell) const;
    // The selection cursor frame around the whole cell.
    ScreenRect CursorFrame(MarkerCell cell) const;

    // The readout of marker 0 or 1 beside its marker, or in the row above (below in row
    // 0) when both markers share a row and would collide.
    TextPlacement MarkerText(int marker, MarkerCell first, MarkerCell second,
                             bool secondShown) const;
    // The difference readout, right- and bottom-aligned, lifted clear of markers in
    // the bottom rows.
    TextPlacement DifferenceText(MarkerCell first, MarkerCell second) const;
    // The triangle closing the difference text, drawn from and back to the first point.
    static std::array<ScreenPoint, 4> DifferenceTriangle(const ScreenRect& textRect);
    // Status line 0..2, moved down clear of markers in the top rows.
    TextPlacement StatusLine(int line, MarkerCell first, MarkerCell second) const;
    // The four black bands of the edge mask (top, bottom, left, right).
    std::array<ScreenRect, 4> EdgeMaskBands(bool interpolated) const;

  private:
    enum class Side { kRight, kLeft, kAboveFromMarker, kAboveUpToMarker };

    TextPlacement Beside(MarkerCell cell, Side side) const;
    static Side SideOfFirst(MarkerCell first, MarkerCell second);
    static Side SideOfSecond(MarkerCell first, MarkerCell second);

    ScreenRect client_;
    int cellWidth_;
    int cellHeight_;
};
