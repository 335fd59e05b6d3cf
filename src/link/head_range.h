#pragma once

#include <cstdint>
#include <string>

#include "link/head_wire.h"

// One measurement range of the head. Limits in tenths of a kelvin.
struct HeadRange {
    std::uint8_t number = head_wire::kUnknownRange;  // 1..6; 255 = not known yet
    std::string description;  // as sent (one character per byte); shown up to its first zero
    std::uint16_t lowerLimit = 0;
    std::uint16_t upperLimit = 0;

    bool operator==(const HeadRange&) const = default;
};
