#include "display/range_bar_layout.h"

namespace {

// Truncates toward zero; values beyond what a pixel coordinate can sensibly be are
// limited first, so the conversion is always defined.
int Truncate(float value) {
    constexpr float kLimit = 1 << 30;
    return static_cast<int>(value < -kLimit ? -kLimit : (value > kLimit ? kLimit : value));
}

}  // namespace

// The scale area below the text band.
ScreenRect RangeBarLayout::Track() const {
    ScreenRect track = ScaleArea();
    track.top += kTextBandHeight;
    return track;
}

ScreenRect RangeBarLayout::Groove() const {
    const ScreenRect t = Track();
    return ScreenRect::FromSize(t.left + 3, t.top + (t.bottom - t.top) / 2 - 1,
                                t.right - t.left - 6, 2);
}

std::optional<RangeBarLayout::SpanBox> RangeBarLayout::Span(std::int16_t rangeLow,
                                                            std::int16_t rangeHigh,
                                                            std::int16_t spanLow,
                                                            std::int16_t spanHigh) const {
    if (rangeHigh <= rangeLow) {
        return std::nullopt;
    }
    const ScreenRect t = Track();
    const float rangeWidth = static_cast<float>(rangeHigh - rangeLow);
    const float scale = static_cast<float>((t.right - t.left - 4.0) / rangeWidth);
    const volatile float spanPixels = static_cast<float>(spanHigh - spanLow) * scale;
    const volatile float offset = static_cast<float>(spanLow - rangeLow) * scale;
    const float left = offset + static_cast<float>(t.left + 2);
    SpanBox box;
    box.fill =
        ScreenRect::FromSize(Truncate(left), t.top + 2, Truncate(spanPixels), t.bottom - t.top - 4);
    box.frame = ScreenRect::FromSize(Truncate(left - 1.0f), t.top + 1, Truncate(spanPixels + 2.0f),
                                     t.bottom - t.top - 2);
    return box;
}

TextPlacement RangeBarLayout::RangeLowText() const {
    return {TextArea(), HorizontalAlign::kLeft, VerticalAlign::kTop};
}

TextPlacement RangeBarLayout::RangeHighText() const {
    return {TextArea(), HorizontalAlign::kRight, VerticalAlign::kTop};
}

TextPlacement RangeBarLayout::SpanWidthText() const {
    return {TextArea(), HorizontalAlign::kCentre, VerticalAlign::kTop};
}
