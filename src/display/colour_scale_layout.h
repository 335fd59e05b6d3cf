#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "display/screen_rect.h"
#include "display/text_placement.h"

// Geometry of the colour scale: the gradient stripes from the hottest colour at the top
// down, and the six labels (span maximum and the two values below it at the top, the
// minimum and the two values above it at the bottom).
class ColourScaleLayout {
  public:
    static constexpr int kLabelCount = 6;
    static constexpr int kStripeHeight = 3;

    struct Stripe {
        ScreenRect rect;
        int colourIndex;
    };

    explicit ColourScaleLayout(const ScreenRect& client) : client_(client) {}

    // Overlapping stripes, one per pixel row, each three pixels tall.
    std::vector<Stripe> GradientStripes() const;

    // Labels 0..2 from the top (top-aligned), 3..5 from the bottom (bottom-aligned),
    // all centred.
    std::array<TextPlacement, kLabelCount> LabelPlacements() const;
    // The temperature of each label: max, max − a, max − 2a, min, min + a, min + 2a
    // with a = (max − min) / 5.
    static std::array<std::int16_t, kLabelCount> LabelValues(std::int16_t spanMin,
                                                             std::int16_t spanMax);

  private:
    ScreenRect client_;
};
