#include "display/picture_renderer.h"

#include <algorithm>
#include <cstring>

#include "display/colour_index_scale.h"
#include "display/picture_kernels.h"
#include "display/pixel_pairs.h"
#include "palette/palette_set.h"

static_assert(PictureRenderer::kGridSide == PictureKernels::kGridSide);

namespace {

// One whole picture row, in 32-byte blocks that compile to vector moves (a plain
// memcpy of this size becomes a string instruction that starts slowly).
void CopyRow(std::uint8_t* to, const std::uint8_t* from) {
    using Block = std::uint8_t __attribute__((vector_size(32)));
    static_assert(PictureRenderer::kRowBytes % sizeof(Block) == 0);
    for (std::size_t k = 0; k < PictureRenderer::kRowBytes; k += sizeof(Block)) {
        Block block;
        std::memcpy(&block, from + k, sizeof block);
        std::memcpy(to + k, &block, sizeof block);
    }
}

}  // namespace

PictureRenderer::PictureRenderer() : PictureRenderer(PictureKernels::Best()) {}

PictureRenderer::PictureRenderer(const PictureKernels& kernels)
    : kernels_(&kernels),
      grid_(static_cast<std::size_t>(kGridSide) * kGridSide, 0),
      indices_(static_cast<std::size_t>(kGridSide) * kGridSide, 0),
      pixels_(static_cast<std::size_t>(kSide) * kRowBytes, 0) {}

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
    for (int i = 0; i < kGridSide; ++i) {
        std::uint8_t* row = Row(2 * i);
        pairs.WriteRow<1>(&indices_[static_cast<std::size_t>(i)], kGridSide, kGridSide, row);
        CopyRow(Row(2 * i + 1), row);
    }
}

// Frame column i fills memory rows 12i to 12i + 11; frame row j fills screen columns
// 12j to 12j + 11.
void PictureRenderer::RenderPlain(const ReversedFrame& reversed, const ColourIndexScale& scale,
                                  const PaletteSet& palettes, int paletteNumber) {
    constexpr int side = ImageInterpolator::kSide;
    kernels_->colourIndices(reversed.data(), static_cast<int>(reversed.size()), scale,
                            indices_.data());
    const PixelPairs pairs(palettes, paletteNumber);
    for (int i = 0; i < side; ++i) {
        std::uint8_t* row = Row(kBlockSide * i);
        pairs.WriteRow<kBlockSide / 2>(&indices_[static_cast<std::size_t>(i)], side, side, row);
        for (int copy = 1; copy < kBlockSide; ++copy) {
            CopyRow(Row(kBlockSide * i + copy), row);
        }
    }
}
