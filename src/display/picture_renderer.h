#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "display/image_interpolator.h"
#include "link/thermal_frame.h"

class ColourIndexScale;
class PaletteSet;
struct PictureKernels;

// Renders the 16 × 16 frame as the 192 × 192 false-colour picture: a 24-bit bitmap
// stored bottom-up (the first row in memory is the bottom row on screen), 576 bytes a
// row, bytes blue, green, red. Smooth mode interpolates to 96 × 96 and doubles every
// value; plain mode enlarges each frame value to a 12 × 12 block. The input is the
// frame in reverse order, which puts received value 16·(15 − a) + b in screen block
// column a, row b.
//
// The bytes are those of ReferencePictureRenderer; the work is organised for speed:
// the vectorised kernels of PictureKernels interpolate, compute the colour indices and
// write the rows from a table of pixel pairs, duplicating rows whole.
class PictureRenderer {
  public:
    static constexpr int kSide = 192;
    static constexpr int kBytesPerPixel = 3;
    static constexpr int kRowBytes = kSide * kBytesPerPixel;
    static constexpr int kGridSide = 96;
    static constexpr int kBlockSide = kSide / ImageInterpolator::kSide;

    using ReversedFrame = std::array<std::int16_t, ImageInterpolator::kInputSize>;

    // With the fastest kernels this processor runs.
    PictureRenderer();
    explicit PictureRenderer(const PictureKernels& kernels);

    // The frame as received, last value first: the renderer's input.
    static ReversedFrame Reverse(const ThermalFrame& frame);

    void Render(const ReversedFrame& reversed, bool interpolated, std::int16_t spanMin,
                std::int16_t spanMax, const PaletteSet& palettes, int paletteNumber);

    // kSide rows of kRowBytes, bottom row first.
    std::span<const std::uint8_t> Pixels() const { return pixels_; }
    const std::uint8_t* Data() const { return pixels_.data(); }
    // The interpolated grid of the last smooth render (its outer band never written).
    std::span<const std::int16_t> Grid() const { return grid_; }

  private:
    void RenderInterpolated(const ReversedFrame& reversed, const ColourIndexScale& scale,
                            const PaletteSet& palettes, int paletteNumber);
    void RenderPlain(const ReversedFrame& reversed, const ColourIndexScale& scale,
                     const PaletteSet& palettes, int paletteNumber);

    const PictureKernels* kernels_;
    std::vector<std::int16_t> grid_;
    std::vector<std::uint8_t> indices_;
    std::vector<std::uint8_t> pixels_;
};
