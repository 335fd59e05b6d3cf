#include "display/thermal_image_layout.h"

namespace {

// Truncates a non-negative single-precision value.
int Truncate(float value) {
    return static_cast<int>(value);
}

constexpr float kOneAndAHalf = 1.5f;

}  // namespace

ThermalImageLayout::ThermalImageLayout(const ScreenRect& client)
    : client_(client),
      cellWidth_((client.right - client.left - 4) / 16),
      cellHeight_((client.bottom - client.top - 4) / 16) {}

ScreenRect ThermalImageLayout::Reticle() const {
    return {7 * cellWidth_ + 4, 8 * cellHeight_ + 4, 8 * cellWidth_, 9 * cellHeight_};
}

ScreenRect ThermalImageLayout::MarkerBox(MarkerCell cell) const {
    return ScreenRect::FromSize(cellWidth_ * cell.column + 3, cellHeight_ * cell.row + 3,
                                cellWidth_ - 2, cellHeight_ - 2);
}

ScreenRect ThermalImageLayout::CursorFrame(MarkerCell cell) const {
    return ScreenRect::FromSize(cellWidth_ * cell.column + 2, cellHeight_ * cell.row + 2,
                                cellWidth_, cellHeight_);
}

TextPlacement ThermalImageLayout::Beside(MarkerCell cell, Side side) const {
    const int cw = cellWidth_;
    const int ch = cellHeight_;
    const int right = client_.right - 2;
    const int bottom = client_.bottom - 2;
    const int rowAbove = cell.row == 0 ? ch + 2 : (cell.row - 1) * ch + 1;
    switch (side) {
        case Side::kRight:
            return {{(cell.column + 1) * cw + 5, cell.row * ch + 1, right, bottom},
                    HorizontalAlign::kLeft,
                    VerticalAlign::kTop};
        case Side::kLeft:
            return {{client_.left + 2, cell.row * ch + 1, cell.column * cw, bottom},
                    HorizontalAlign::kRight,
                    VerticalAlign::kTop};
        case Side::kAboveFromMarker:
            return {{cell.column * cw + 3, rowAbove, right, bottom},
                    HorizontalAlign::kLeft,
                    VerticalAlign::kTop};
        case Side::kAboveUpToMarker:
            return {{client_.left + 2, rowAbove, (cell.column + 1) * cw + 2, bottom},
                    HorizontalAlign::kRight,
                    VerticalAlign::kTop};
    }
    return {};
}

ThermalImageLayout::Side ThermalImageLayout::SideOfFirst(MarkerCell first, MarkerCell second) {
    const int c1 = first.column;
    const int c2 = second.column;
    if ((c1 >= c2 && c1 < 10) || c2 - c1 > 6) {
        return Side::kRight;
    }
    if ((c1 < c2 && c1 > 5) || c1 - c2 > 6) {
        return Side::kLeft;
    }
    return c1 < 10 ? Side::kAboveFromMarker : Side::kAboveUpToMarker;
}

ThermalImageLayout::Side ThermalImageLayout::SideOfSecond(MarkerCell first, MarkerCell second) {
    const int c1 = first.column;
    const int c2 = second.column;
    if ((c2 > c1 && c2 < 10) || c1 - c2 > 12 || (c1 - c2 > 6 && c1 < 10)) {
        return Side::kRight;
    }
    if ((c2 <= c1 && c2 > 5) || c2 - c1 > 12) {
        return Side::kLeft;
    }
    return c2 < 10 ? Side::kAboveFromMarker : Side::kAboveUpToMarker;
}

TextPlacement ThermalImageLayout::MarkerText(int marker, MarkerCell first, MarkerCell second,
                                             bool secondShown) const {
    const MarkerCell own = marker == 0 ? first : second;
    if (!secondShown || first.row != second.row) {
        return Beside(own, own.column < 10 ? Side::kRight : Side::kLeft);
    }
    return Beside(own, marker == 0 ? SideOfFirst(first, second) : SideOfSecond(first, second));
}

TextPlacement ThermalImageLayout::DifferenceText(MarkerCell first, MarkerCell second) const {
    ScreenRect rect = client_.Deflated(4, 4, 4, 3);
    const int r1 = first.row;
    const int r2 = second.row;
    if (r1 > 14 || r2 > 14) {
        rect.bottom -= 2 * cellHeight_;
        if ((r1 > 11 && r1 < 15) || (r2 > 11 && r2 < 15)) {
            rect.bottom -= 4 * cellHeight_;
        }
    }
    return {rect, HorizontalAlign::kRight, VerticalAlign::kBottom};
}

std::array<ScreenPoint, 4> ThermalImageLayout::DifferenceTriangle(const ScreenRect& textRect) {
    const int r = textRect.right;
    const int b = textRect.bottom;
    return {{{r - 8, b - 3}, {r - 18, b - 3}, {r - 13, b - 11}, {r - 8, b - 3}}};
}

TextPlacement ThermalImageLayout::StatusLine(int line, MarkerCell first, MarkerCell second) const {
    ScreenRect rect = client_;
    const int r1 = first.row;
    const int r2 = second.row;
    if (r1 < 4 || r2 < 4) {
        rect.top += 4 * cellHeight_;
        if ((r1 > 3 && r1 < 8) || (r2 > 3 && r2 < 8)) {
            rect.top += 4 * cellHeight_;
        }
    }
    rect = rect.Deflated(5, 3, 3, 3);
    rect.top += line * kStatusLineSpacing;
    return {rect, HorizontalAlign::kLeft, VerticalAlign::kTop};
}

std::array<ScreenRect, 4> ThermalImageLayout::EdgeMaskBands(bool interpolated) const {
    const int cw = cellWidth_;
    const int ch = cellHeight_;
    const int o = kPictureOrigin;
    if (!interpolated) {
        return {ScreenRect::FromSize(o, o, 16 * cw, ch),
                ScreenRect::FromSize(o, 15 * ch + o, 16 * cw, ch),
                ScreenRect::FromSize(o, ch + o, cw, 14 * ch),
                ScreenRect::FromSize(15 * cw + o, ch + o, cw, 14 * ch)};
    }
    const float halfCellsHigh = static_cast<float>(ch) * kOneAndAHalf;
    const float halfCellsWide = static_cast<float>(cw) * kOneAndAHalf;
    const int bandHeight = Truncate(halfCellsHigh);
    const int bandWidth = Truncate(halfCellsWide);
    const int sideTop = Truncate(halfCellsHigh + 2.0f);
    return {ScreenRect::FromSize(o, o, 16 * cw, bandHeight),
            ScreenRect::FromSize(o, Truncate(static_cast<float>(13 * ch) + halfCellsHigh + 2.0f),
                                 16 * cw, bandHeight),
            ScreenRect::FromSize(o, sideTop, bandWidth, 13 * ch),
            ScreenRect::FromSize(Truncate(static_cast<float>(13 * cw) + halfCellsWide + 2.0f),
                                 sideTop, bandWidth, 13 * ch)};
}
