#pragma once

#include <array>
#include <cstdint>

#include "link/thermal_frame.h"

// Averages the display frame over the last N raw frames (N = 1 shows every frame as
// it comes). After a change of N the first N frames pass through unaveraged.
class FrameIntegrator {
  public:
    // The largest count the history holds; larger requests are treated as this.
    static constexpr int kCapacity = 10;

    virtual ~FrameIntegrator() = default;

    // Takes in `source` and writes the frame to show into `destination`.
    void Update(const ThermalFrame& source, ThermalFrame& destination, int requestedCount);

  private:
    std::int32_t framesInUse_ = 0;
    std::int16_t filled_ = 0;
    std::array<ThermalFrame, kCapacity> history_{};  // oldest first
};
