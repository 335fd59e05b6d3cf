#include "acquisition/auto_range.h"

#include <algorithm>

namespace {

constexpr int kFirstCentreIndex = 5;
constexpr int kLastCentreIndex = 10;
// The smoothed minimum starts here rather than at the largest 16-bit value.
constexpr std::uint16_t kMinimumStart = 0x0FFF;
// The single-precision constant nearest 1.005.
constexpr float kHeadroom = 1.005f;

// A non-negative float truncated into 16 bits; out-of-range values saturate.
std::uint16_t TruncateTo16(float value) {
    if (!(value > 0.0f)) {
        return 0;
    }
    if (value >= 65535.0f) {
        return 65535;
    }
    return static_cast<std::uint16_t>(static_cast<std::int32_t>(value));
}

}  // namespace

void AutoRange::Update(const ThermalFrame& frame, std::uint16_t& low, std::uint16_t& high) {
    std::uint16_t minimum = kMinimumStart;
    std::uint16_t maximum = 0;
    for (int r = kFirstCentreIndex; r <= kLastCentreIndex; ++r) {
        for (int c = kFirstCentreIndex; c <= kLastCentreIndex; ++c) {
            const auto at = [&](int row, int column) {
                return static_cast<std::int32_t>(
                    frame[static_cast<std::size_t>(16 * row + column)]);
            };
            const std::int32_t sum =
                4 * at(r, c) + at(r - 1, c) + at(r + 1, c) + at(r, c - 1) + at(r, c + 1);
            const auto smoothed = static_cast<std::uint16_t>(sum / 8);
            work_[static_cast<std::size_t>(16 * r + c)] = smoothed;
            minimum = std::min(minimum, smoothed);
            maximum = std::max(maximum, smoothed);
        }
    }
    low = StepToward(low, minimum);
    const std::uint16_t target = TruncateTo16(static_cast<float>(maximum) * kHeadroom);
    high = StepToward(high, target);
}

std::uint16_t AutoRange::StepToward(std::uint16_t bound, std::uint16_t target) const {
    const std::int32_t difference = static_cast<std::int32_t>(target) - bound;
    const float moved =
        static_cast<float>(difference) / static_cast<float>(divisor_) + static_cast<float>(bound);
    return TruncateTo16(moved);
}
