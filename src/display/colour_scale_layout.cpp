#include "display/colour_scale_layout.h"

#include <algorithm>

namespace {
constexpr float kLabelSpacingFactor = 0.1923077f;
}

std::vector<ColourScaleLayout::Stripe> ColourScaleLayout::GradientStripes() const {
    std::vector<Stripe> stripes;
    const int height = client_.bottom - client_.top - 4;
    if (height <= 0) {
        return stripes;
    }
    const float step = 256.0f / static_cast<float>(height);
    const int width = client_.right - client_.left - 4;
    for (int i = 0; client_.top + 2 + i < height; ++i) {
        const int drop = std::min(static_cast<int>(static_cast<float>(i) * step), 255);
        stripes.push_back(
            {ScreenRect::FromSize(2, client_.top + 2 + i, width, kStripeHeight), 255 - drop});
    }
    return stripes;
}

std::array<TextPlacement, ColourScaleLayout::kLabelCount> ColourScaleLayout::LabelPlacements()
    const {
    const ScreenRect area = client_.Deflated(2);
    const int spacing =
        static_cast<int>(static_cast<float>(area.Height() - 4) * kLabelSpacingFactor);
    std::array<TextPlacement, kLabelCount> placements;
    ScreenRect top = area;
    ScreenRect bottom = area;
    for (int k = 0; k < 3; ++k) {
        placements[static_cast<std::size_t>(k)] = {top, HorizontalAlign::kCentre,
                                                   VerticalAlign::kTop};
        placements[static_cast<std::size_t>(k + 3)] = {bottom, HorizontalAlign::kCentre,
                                                       VerticalAlign::kBottom};
        top.top += spacing;
        bottom.bottom -= spacing;
    }
    return placements;
}

std::array<std::int16_t, ColourScaleLayout::kLabelCount> ColourScaleLayout::LabelValues(
    std::int16_t spanMin, std::int16_t spanMax) {
    const int a = (spanMax - spanMin) / 5;
    auto value = [](int v) { return static_cast<std::int16_t>(v); };
    return {value(spanMax), value(spanMax - a), value(spanMax - 2 * a),
            value(spanMin), value(spanMin + a), value(spanMin + 2 * a)};
}
