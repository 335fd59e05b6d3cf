#pragma once

#include "display/screen_rect.h"

enum class HorizontalAlign { kLeft, kCentre, kRight };
enum class VerticalAlign { kTop, kCentre, kBottom };

// Where one single-line text goes: its rectangle and how it aligns inside it. The text
// is never clipped to the rectangle.
struct TextPlacement {
    ScreenRect rect;
    HorizontalAlign horizontal = HorizontalAlign::kLeft;
    VerticalAlign vertical = VerticalAlign::kTop;

    bool operator==(const TextPlacement&) const = default;
};
