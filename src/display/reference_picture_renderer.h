#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "display/image_interpolator.h"
#include "display/picture_renderer.h"

class ColourIndexScale;
class PaletteSet;

// The picture of PictureRenderer in its straightforward form: the general
// ImageInterpolator, one colour look-up per grid value and byte-by-byte pixel stores.
// PictureRenderer computes the same bytes faster; this one stays as the yardstick for
// its tests and benchmarks.
class ReferencePictureRenderer {
  public:
    using ReversedFrame = PictureRenderer::ReversedFrame;

    ReferencePictureRenderer();

    void Render(const ReversedFrame& reversed, bool interpolated, std::int16_t spanMin,
                std::int16_t spanMax, const PaletteSet& palettes, int paletteNumber);

    // As PictureRenderer's.
    std::span<const std::uint8_t> Pixels() const { return pixels_; }
    const std::uint8_t* Data() const { return pixels_.data(); }
    std::span<const std::int16_t> Grid() const { return grid_; }

  private:
    static constexpr int kSide = PictureRenderer::kSide;
    static constexpr int kRowBytes = PictureRenderer::kRowBytes;
    static constexpr int kGridSide = PictureRenderer::kGridSide;
    static constexpr int kBlockSide = PictureRenderer::kBlockSide;

    void RenderInterpolated(const ReversedFrame& reversed, const ColourIndexScale& scale,
                            const PaletteSet& palettes, int paletteNumber);
    void RenderPlain(const ReversedFrame& reversed, const ColourIndexScale& scale,
                     const PaletteSet& palettes, int paletteNumber);
    std::uint8_t* Row(int memoryRow) {
        return &pixels_[static_cast<std::size_t>(memoryRow) * kRowBytes];
    }

    ImageInterpolator interpolator_;
    std::vector<std::int16_t> grid_;
    std::vector<std::uint8_t> pixels_;
};
