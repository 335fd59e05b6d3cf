#pragma once

#include <cstdint>

// The user's moves of the display span (tenths of a kelvin), in whole kelvin steps,
// kept within the head's range. Results never wrap below 0 or above 65535.
namespace span_adjuster {

// One kelvin down, while the low end is above the range's lower limit.
void ShiftDown(std::uint16_t& low, std::uint16_t& high, std::uint16_t rangeLow);
// One kelvin up, while the high end is below the range's upper limit.
void ShiftUp(std::uint16_t& low, std::uint16_t& high, std::uint16_t rangeHigh);
// Widens a span below 200 K by about a kelvin at each end, to a multiple of 2 K.
void Widen(std::uint16_t& low, std::uint16_t& high, std::uint16_t rangeLow,
           std::uint16_t rangeHigh);
// Narrows by a kelvin at each end, to a multiple of 2 K and no less than 2 K.
void Narrow(std::uint16_t& low, std::uint16_t& high);

}  // namespace span_adjuster
