#pragma once

#include <cstdint>
#include <span>

// Expands a 16 × 16 frame to an N × N grid (N a multiple of 16) by separable
// piecewise-quadratic blending in fixed point (values scaled by 2048). The blend of the
// two overlapping parabolas equals Catmull-Rom cubic convolution, so the result may
// overshoot its neighbours slightly. Input pixel (r, c) lands exactly on grid position
// (n/2 + r·n, n/2 + c·n), n = N / 16; the outer band of n/2 rows and columns on every
// side is not written.
class ImageInterpolator {
  public:
    static constexpr int kSide = 16;
    static constexpr int kInputSize = kSide * kSide;

    int Size() const { return size_; }
    // size: 0 or a positive multiple of 16.
    void SetSize(int size);

    // input: 256 values read as unsigned, row-major; output: N × N values, row-major.
    void Interpolate(std::span<const std::uint16_t, kInputSize> input,
                     std::span<std::int16_t> output) const;

  private:
    std::int16_t size_ = 0;
};
