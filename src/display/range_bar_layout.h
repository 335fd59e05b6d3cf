#pragma once

#include <cstdint>
#include <optional>

#include "display/screen_rect.h"
#include "display/text_placement.h"

// Geometry of the range bar: the head range as a horizontal scale with the display
// span as a raised box on it, the texts above, the selection frame around it.
class RangeBarLayout {
  public:
    static constexpr int kTextBandHeight = 13;

    struct SpanBox {
        ScreenRect fill;   // light grey inside
        ScreenRect frame;  // raised one-pixel frame around it
    };

    explicit RangeBarLayout(const ScreenRect& client) : client_(client) {}

    // The white scale area: the client deflated by 2.
    ScreenRect ScaleArea() const { return client_.Deflated(2); }
    // The two-pixel-high groove across the scale.
    ScreenRect Groove() const;
    // The span box for a head range and a display span. None when the head range has
    // no width (its high end not above its low end).
    std::optional<SpanBox> Span(std::int16_t rangeLow, std::int16_t rangeHigh, std::int16_t spanLow,
                                std::int16_t spanHigh) const;

    TextPlacement RangeLowText() const;
    TextPlacement RangeHighText() const;
    TextPlacement SpanWidthText() const;
    ScreenRect CursorFrame() const { return client_.Deflated(2); }

  private:
    ScreenRect TextArea() const { return client_.Deflated(4, 2, 3, 2); }
    ScreenRect Track() const;

    ScreenRect client_;
};
