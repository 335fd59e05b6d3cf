#include "display/picture_renderer.h"

#include <algorithm>
#include <cstring>

#include "display/colour_index_scale.h"
#include "palette/palette_set.h"

namespace {

// Writes `count` pixels of one colour (blue, green, red) and returns the next position.
std::uint8_t* WritePixels(std::uint8_t* out, ColourRef colour, int count) {
    const auto blue = static_cast<std::uint8_t>(BlueOf(colour));
    const auto green = static_cast<std::uint8_t>(GreenOf(colour));
    const auto red = static_cast<std::uint8_t>(RedOf(colour));
    for (int k = 0; k < count; ++k) {
        *out++ = blue;
        *out++ = green;
        *out++ = red;
    }
    return out;
}

}  // namespace

PictureRenderer::PictureRenderer()
    : grid_(static_cast<std::size_t>(kGridSide) * kGridSide, 0),
      pixels_(static_cast<std::size_t>(kSide) * kRowBytes, 0) {}

PictureRenderer::ReversedFrame PictureRenderer::Reverse(const ThermalFrame& frame) {
    ReversedFrame reversed{};
    for (std::size_t k = 0; k < reversed.size(); ++k) {
        reversed[k] = static_cast<std::int16_t>(frame[reversed.size() - 1 - k]);
    }
    return reversed;
}

void PictureRenderer::Render(const ReversedFrame& reversed, bool interpolated, std::int16_t spanMin,
                             std::int16_t spanMax, const PaletteSet& palettes, int paletteNumber) {
    const ColourIndexScale scale(spanMin, spanMax);
    if (interpolated) {
        RenderInterpolated(reversed, scale, palettes, paletteNumber);
    } else {
        RenderPlain(reversed, scale, palettes, paletteNumber);
    }
}

// Grid column i fills memory rows 2i and 2i + 1; grid row j fills screen columns 2j
// and 2j + 1.
void PictureRenderer::RenderInterpolated(const ReversedFrame& reversed,
                                         const ColourIndexScale& scale, const PaletteSet& palettes,
                                         int paletteNumber) {
    if (interpolator_.Size() == 0) {
        interpolator_.SetSize(kGridSide);
    }
    std::array<std::uint16_t, ImageInterpolator::kInputSize> input;
    std::transform(reversed.begin(), reversed.end(), input.begin(),
                   [](std::int16_t v) { return static_cast<std::uint16_t>(v); });
    interpolator_.Interpolate(input, grid_);

    for (int i = 0; i < kGridSide; ++i) {
        std::uint8_t* row = Row(2 * i);
        std::uint8_t* out = row;
        for (int j = 0; j < kGridSide; ++j) {
            const std::int16_t value = grid_[static_cast<std::size_t>(j * kGridSide + i)];
            out = WritePixels(out, palettes.Colour(scale.Index(value), paletteNumber), 2);
        }
        std::memcpy(Row(2 * i + 1), row, kRowBytes);
    }
}

// Frame column i fills memory rows 12i to 12i + 11; frame row j fills screen columns
// 12j to 12j + 11.
void PictureRenderer::RenderPlain(const ReversedFrame& reversed, const ColourIndexScale& scale,
                                  const PaletteSet& palettes, int paletteNumber) {
    constexpr int side = ImageInterpolator::kSide;
    for (int i = 0; i < side; ++i) {
        std::uint8_t* row = Row(kBlockSide * i);
        std::uint8_t* out = row;
        for (int j = 0; j < side; ++j) {
            const std::int16_t value = reversed[static_cast<std::size_t>(j * side + i)];
            out = WritePixels(out, palettes.Colour(scale.Index(value), paletteNumber), kBlockSide);
        }
        for (int copy = 1; copy < kBlockSide; ++copy) {
            std::memcpy(Row(kBlockSide * i + copy), row, kRowBytes);
        }
    }
}
