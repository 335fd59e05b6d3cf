#pragma once

#include <cstdint>
#include <span>

class ColourIndexScale;

// The data-parallel steps of the picture, compiled once for the baseline instruction
// set and, on x86, once more for AVX2. Every variant computes the same values; Best()
// is the fastest one that this processor runs.
struct PictureKernels {
    static constexpr int kFrameSide = 16;
    static constexpr int kGridSide = 96;
    static constexpr int kGridBand = 3;
    // Up to this input value the last interpolation step forms its sum in 32 bits; a
    // frame with any value above it takes a slower exact form of that step, which
    // splits the sum in two (still in 32-bit lanes).
    static constexpr std::uint16_t kNarrowLimit = 22000;

    const char* name;
    // 16 × 16 values (read as unsigned) to rows and columns 3..92 of the 96 × 96 grid,
    // the same values as ImageInterpolator of size 96; the outer band is not written.
    void (*interpolate)(const std::uint16_t* frame, std::int16_t* grid);
    // The colour index of each value as ColourIndexScale::Index gives it, limited to
    // 0..255; count is a multiple of 32.
    void (*colourIndices)(const std::int16_t* values, int count, const ColourIndexScale& scale,
                          std::uint8_t* indices);

    // The picture from `side` × `side` colour indices, row-major, side 96 or 16: index
    // column i becomes the memory rows from (192 / side)·i on, each index 192 / side
    // pixels wide. `pairs` are the palette's 256 pixel pairs (PixelPairs).
    void (*writePicture)(const std::uint8_t* indices, int side, const std::uint64_t* pairs,
                         std::uint8_t* pixels);

    // Every variant that this processor runs, the baseline first.
    static std::span<const PictureKernels> Supported();
    static const PictureKernels& Best();
};
