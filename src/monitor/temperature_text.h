#pragma once

#include <optional>
#include <string_view>

#include "display/temperature_unit.h"

// Temperatures and temperature differences as a user writes them: a number followed by
// C, F or K, or without a unit. Conversions use 273.0 for 0 °C, as the corrections do.
namespace temperature_text {

struct Temperature {
    double value = 0.0;
    std::optional<TemperatureUnit> unit;  // empty: the unit of the context
};

// The unit of "C", "F" or "K" (either case); empty for anything else.
std::optional<TemperatureUnit> UnitNamed(std::string_view name);

// "80C", "-5.5c", "300K", "176F", "80"; empty when the text is none of these.
std::optional<Temperature> Parse(std::string_view text);

double ToKelvin(double value, TemperatureUnit unit);
double FromKelvin(double kelvin, TemperatureUnit unit);
// A difference in `unit` as kelvin (1 °F is 1/1.8 K).
double DifferenceToKelvin(double difference, TemperatureUnit unit);

}  // namespace temperature_text
