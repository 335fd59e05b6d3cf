#pragma once

#include <array>
#include <cstdint>

#include "link/thermal_frame.h"

// Moves the display span one eighth of the way toward the smoothed temperatures of the
// centre of the picture: the low end toward their minimum, the high end toward 0.5 %
// above their maximum.
class AutoRange {
  public:
    virtual ~AutoRange() = default;

    void Update(const ThermalFrame& frame, std::uint16_t& low, std::uint16_t& high);

  private:
    // One step of `bound` toward `target`, in single precision, truncated.
    std::uint16_t StepToward(std::uint16_t bound, std::uint16_t target) const;

    std::array<std::uint16_t, kFramePixels> work_{};  // smoothed centre pixels
    std::int16_t divisor_ = 8;
};
