#pragma once

#include <cstdint>

#include "display/temperature_unit.h"
#include "link/thermal_frame.h"

// A cell of the 16 × 16 frame.
struct FrameCell {
    int row = 0;
    int column = 0;

    bool operator==(const FrameCell&) const = default;
};

// The corrections that turn the head's values into the temperatures a user reads.
struct TemperatureCorrection {
    TemperatureUnit unit = temperature_unit::kCelsius;
    std::int16_t background = 0;  // tenths of a degree Celsius
    float emissivity = 1.0f;

    bool operator==(const TemperatureCorrection&) const = default;
};

// Lowest, highest and mean corrected temperature of one frame or of several merged, and
// the cells of the hottest and coldest value (the first in row order on a tie, the
// earlier frame across frames). Cells whose correction has no real result are left out;
// with none left the statistics are empty.
class FrameStatistics {
  public:
    static FrameStatistics Of(const ThermalFrame& frame, const TemperatureCorrection& correction);

    // Adds the cells of `later` (statistics of a later frame) to these.
    void Merge(const FrameStatistics& later);

    bool Empty() const { return cells_ == 0; }
    long long Cells() const { return cells_; }
    // Meaningful only when not empty.
    float Lowest() const { return lowest_; }
    float Highest() const { return highest_; }
    double Mean() const { return cells_ == 0 ? 0.0 : sum_ / static_cast<double>(cells_); }
    FrameCell Hottest() const { return hottest_; }
    FrameCell Coldest() const { return coldest_; }

  private:
    long long cells_ = 0;
    double sum_ = 0.0;
    float lowest_ = 0.0f;
    float highest_ = 0.0f;
    FrameCell hottest_;
    FrameCell coldest_;
};
