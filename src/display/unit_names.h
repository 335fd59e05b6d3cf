#pragma once

#include <string>

#include "display/temperature_unit.h"

namespace unit_names {

// "C", "F" or "K" (any other code is treated as Kelvin, as the arithmetic does).
inline std::string Letter(TemperatureUnit unit) {
    switch (unit) {
        case temperature_unit::kCelsius:
            return "C";
        case temperature_unit::kFahrenheit:
            return "F";
        default:
            return "K";
    }
}

}  // namespace unit_names
