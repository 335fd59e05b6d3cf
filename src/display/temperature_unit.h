#pragma once

#include <cstdint>

// Unit code of displayed temperatures. Any other value is treated as Kelvin by the
// arithmetic and gets the Kelvin unit text in the full form.
using TemperatureUnit = std::int16_t;

namespace temperature_unit {
inline constexpr TemperatureUnit kCelsius = 0;
inline constexpr TemperatureUnit kKelvin = 1;
inline constexpr TemperatureUnit kFahrenheit = 2;
}  // namespace temperature_unit
