#include "headsim/synthetic_scene.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kBackground = 2950.0;   // 22 °C
constexpr double kGradient = 0.4;        // per row, downwards
constexpr double kObjectExcess = 130.0;  // the object's centre is 13 K warmer
constexpr double kObjectRadius = 2.2;    // pixels (standard deviation of the blob)
constexpr double kCentre = (kFrameSide - 1) / 2.0;
constexpr double kSwing = 5.0;

}  // namespace

ThermalFrame SyntheticScene::Render(double seconds) {
    const double objectColumn = kCentre + kSwing * std::sin(0.6 * seconds);
    const double objectRow = kCentre + kSwing * std::sin(0.43 * seconds + 0.8);
    const double objectExcess = kObjectExcess + tenthsPerSecond_ * seconds;
    ThermalFrame frame;
    for (int row = 0; row < kFrameSide; ++row) {
        for (int column = 0; column < kFrameSide; ++column) {
            const double dx = column - objectColumn;
            const double dy = row - objectRow;
            const double blob =
                std::exp(-(dx * dx + dy * dy) / (2.0 * kObjectRadius * kObjectRadius));
            const double value =
                kBackground + kGradient * row + objectExcess * blob + noise_(random_);
            frame[static_cast<std::size_t>(row * kFrameSide + column)] =
                static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
        }
    }
    return frame;
}
