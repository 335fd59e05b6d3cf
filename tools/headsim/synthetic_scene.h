#pragma once

#include <cstdint>
#include <random>

#include "link/thermal_frame.h"

// A moving scene for the simulated head: a warm object drifting over a room-temperature
// background with a slight gradient, plus sensor noise. The object may warm up (or cool
// down) steadily, for watching a trend.
class SyntheticScene {
  public:
    explicit SyntheticScene(std::uint32_t seed, double kelvinPerMinute = 0.0)
        : random_(seed), tenthsPerSecond_(kelvinPerMinute * 10.0 / 60.0) {}

    // The scene `seconds` after the start, with fresh noise. Tenths of a kelvin.
    ThermalFrame Render(double seconds);

  private:
    std::mt19937 random_;
    std::normal_distribution<double> noise_{0.0, 1.5};
    double tenthsPerSecond_;
};
