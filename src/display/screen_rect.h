#pragma once

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// A rectangle in control pixels, right and bottom exclusive, as the handheld's window
// system describes rectangles.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    ScreenRect Deflated(int byLeft, int byTop, int byRight, int byBottom) const {
        return {left + byLeft, top + byTop, right - byRight, bottom - byBottom};
    }
    ScreenRect Deflated(int by) const { return Deflated(by, by, by, by); }
    static ScreenRect FromSize(int x, int y, int width, int height) {
        return {x, y, x + width, y + height};
    }
    ScreenRect Offset(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    bool operator==(const ScreenRect&) const = default;
};
