#include "display/picture_renderer.h"

#include <algorithm>

#include "display/colour_index_scale.h"
#include "display/picture_kernels.h"
#include "display/pixel_pairs.h"
#include "palette/palette_set.h"

static_assert(PictureRenderer::kGridSide == PictureKernels::kGridSide);

PictureRenderer::PictureRenderer() : PictureRenderer(PictureKernels::Best()) {}

PictureRenderer::PictureRenderer(const PictureKernels& kernels)
    : kernels_(&kernels),
      grid_(static_cast<std::size_t>(kGridSide) * kGridSide, 0),
      indices_(static_cast<std::size_t>(kGridSide) * kGridSide, 0),
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
// and 2j + 1. The grid's band is never written and keeps the zeros it started with.
void PictureRenderer::RenderInterpolated(const ReversedFrame& reversed,
                                         const ColourIndexScale& scale, const PaletteSet& palettes,
                                         int paletteNumber) {
    std::array<std::uint16_t, ImageInterpolator::kInputSize> input;
    std::transform(reversed.begin(), reversed.end(), input.begin(),
                   [](std::int16_t v) { return static_cast<std::uint16_t>(v); });
    kernels_->interpolate(input.data(), grid_.data());
    kernels_->colourIndices(grid_.data(), static_cast<int>(grid_.size()), scale, indices_.data());

    const PixelPairs pairs(palettes, paletteNumber);
    kernels_->writePicture(indices_.data(), kGridSide, pairs.Data(), pixels_.data());
}

// Frame column i fills memory rows 12i to 12i + 11; frame row j fills screen columns
// 12j to 12j + 11.
void PictureRenderer::RenderPlain(const ReversedFrame& reversed, const ColourIndexScale& scale,
                                  const PaletteSet& palettes, int paletteNumber) {
    constexpr int side = ImageInterpolator::kSide;
    kernels_->colourIndices(reversed.data(), static_cast<int>(reversed.size()), scale,
                            indices_.data());
    const PixelPairs pairs(palettes, paletteNumber);
    kernels_->writePicture(indices_.data(), side, pairs.Data(), pixels_.data());
}
