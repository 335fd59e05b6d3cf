#include "monitor/temperature_text.h"

#include <charconv>
#include <cmath>

namespace {

constexpr double kZeroCelsius = 273.0;
constexpr double kFahrenheitPerKelvin = 1.8;
constexpr double kFahrenheitOffset = 32.0;

std::optional<TemperatureUnit> UnitOf(char letter) {
    switch (letter) {
        case 'C':
        case 'c':
            return temperature_unit::kCelsius;
        case 'F':
        case 'f':
            return temperature_unit::kFahrenheit;
        case 'K':
        case 'k':
            return temperature_unit::kKelvin;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<TemperatureUnit> temperature_text::UnitNamed(std::string_view name) {
    return name.size() == 1 ? UnitOf(name[0]) : std::nullopt;
}

std::optional<temperature_text::Temperature> temperature_text::Parse(std::string_view text) {
    Temperature temperature;
    if (!text.empty()) {
        if (const auto unit = UnitOf(text.back())) {
            temperature.unit = unit;
            text.remove_suffix(1);
        }
    }
    const char* end = text.data() + text.size();
    const auto result =
        std::from_chars(text.data(), end, temperature.value, std::chars_format::fixed);
    if (text.empty() || result.ec != std::errc() || result.ptr != end ||
        !std::isfinite(temperature.value)) {
        return std::nullopt;
    }
    return temperature;
}

double temperature_text::ToKelvin(double value, TemperatureUnit unit) {
    switch (unit) {
        case temperature_unit::kCelsius:
            return value + kZeroCelsius;
        case temperature_unit::kFahrenheit:
            return (value - kFahrenheitOffset) / kFahrenheitPerKelvin + kZeroCelsius;
        default:
            return value;
    }
}

double temperature_text::FromKelvin(double kelvin, TemperatureUnit unit) {
    switch (unit) {
        case temperature_unit::kCelsius:
            return kelvin - kZeroCelsius;
        case temperature_unit::kFahrenheit:
            return (kelvin - kZeroCelsius) * kFahrenheitPerKelvin + kFahrenheitOffset;
        default:
            return kelvin;
    }
}

double temperature_text::DifferenceToKelvin(double difference, TemperatureUnit unit) {
    return unit == temperature_unit::kFahrenheit ? difference / kFahrenheitPerKelvin : difference;
}
