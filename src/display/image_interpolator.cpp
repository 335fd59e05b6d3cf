#include "display/image_interpolator.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace {

// Intermediates are 64-bit: with n = 6 and the 2048 scale, 32 bits would overflow for
// inputs from 29127 on, and any 16-bit input must be safe. Wherever 32 bits suffice
// the results are the same.
using Fixed = std::int64_t;

constexpr Fixed kScale = 2048;

// Two parabolas through three neighbouring samples each: q1 + a1·t + c1·t² through
// q0, q1, q2 at t = -n, 0, n and q2 + a2·s + c2·s² through q1, q2, q3 at s = -n, 0, n.
struct ParabolaPair {
    Fixed q1, a1, c1;
    Fixed q2, a2, c2;

    static ParabolaPair Through(Fixed q0, Fixed q1, Fixed q2, Fixed q3, Fixed n) {
        const Fixed nn = n * n;
        return {q1, (q2 - q0) / (2 * n), (q2 - (q2 - q0) / 2 - q1) / nn,
                q2, (q3 - q1) / (2 * n), (q3 - (q3 - q1) / 2 - q2) / nn};
    }

    // n times the linear blend of both parabolas at offset i (0..n-1) into the span.
    Fixed Blend(Fixed i, Fixed n) const {
        const Fixed s = i - n;
        return (n - i) * (q1 + i * (a1 + c1 * i)) + i * (q2 + s * (a2 + c2 * s));
    }
};

int ClampToFrame(int k) {
    return std::clamp(k, 0, ImageInterpolator::kSide - 1);
}

}  // namespace

void ImageInterpolator::SetSize(int size) {
    assert(size >= 0 && size % kSide == 0 && size <= 16 * 1024);
    size_ = static_cast<std::int16_t>(size);
}

void ImageInterpolator::Interpolate(std::span<const std::uint16_t, kInputSize> input,
                                    std::span<std::int16_t> output) const {
    const int size = size_;
    const int n = size / kSide;
    if (n == 0 || output.size() < static_cast<std::size_t>(size) * static_cast<std::size_t>(size)) {
        return;
    }
    const Fixed divisor = static_cast<Fixed>(n) * n * kScale;
    const int band = n / 2;

    for (int r0 = 0; r0 < kSide - 1; ++r0) {
        for (int c0 = 0; c0 < kSide - 1; ++c0) {
            // Horizontal parabola pairs of the four rows around the cell.
            std::array<ParabolaPair, 4> rows;
            for (int k = 0; k < 4; ++k) {
                const auto* row =
                    &input[static_cast<std::size_t>(ClampToFrame(r0 - 1 + k) * kSide)];
                std::array<Fixed, 4> q;
                for (int m = 0; m < 4; ++m) {
                    q[static_cast<std::size_t>(m)] = row[ClampToFrame(c0 - 1 + m)] * kScale;
                }
                rows[static_cast<std::size_t>(k)] =
                    ParabolaPair::Through(q[0], q[1], q[2], q[3], n);
            }
            for (int i = 0; i < n; ++i) {
                const ParabolaPair column =
                    ParabolaPair::Through(rows[0].Blend(i, n), rows[1].Blend(i, n),
                                          rows[2].Blend(i, n), rows[3].Blend(i, n), n);
                std::int16_t* out =
                    &output[static_cast<std::size_t>((band + r0 * n) * size + band + c0 * n + i)];
                for (int j = 0; j < n; ++j) {
                    out[j * size] = static_cast<std::int16_t>(column.Blend(j, n) / divisor);
                }
            }
        }
    }
}
