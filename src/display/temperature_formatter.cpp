#include "display/temperature_formatter.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/string_resources.h"

// Every step below is rounded to the precision it names; that needs float arithmetic
// to be carried out in float.
static_assert(FLT_EVAL_METHOD == 0, "float expressions must be evaluated in float");

namespace {

constexpr float kTenth = 0.1f;
constexpr float kZeroCelsius = 273.0f;
constexpr float kFahrenheitPerKelvin = 1.8f;
constexpr float kFahrenheitOffset = 32.0f;

constexpr int kCelsiusText = 151;
constexpr int kFahrenheitText = 152;
constexpr int kKelvinText = 153;

constexpr const char* kDegreeSign = "\xC2\xB0";  // U+00B0 in UTF-8
constexpr const char* kNoValue = "*";

// Rounds to single precision. The volatile store keeps the compiler from fusing the
// product with a following addition.
float Single(float value) {
    volatile float rounded = value;
    return rounded;
}

// Narrows to single precision without the undefined conversion of a double that
// float cannot hold: such a value becomes an infinity of its sign.
float NarrowToSingle(double value) {
    if (std::isfinite(value) && std::fabs(value) > static_cast<double>(FLT_MAX)) {
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

float ConvertFromKelvin(float kelvin, TemperatureUnit unit) {
    switch (unit) {
        case temperature_unit::kCelsius:
            return Single(kelvin - kZeroCelsius);
        case temperature_unit::kFahrenheit:
            return Single(Single(Single(kelvin - kZeroCelsius) * kFahrenheitPerKelvin) +
                          kFahrenheitOffset);
        default:
            return kelvin;
    }
}

std::string Printf(const char* format, double value, const std::string& suffix) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    if (length < 0) {
        return kNoValue;
    }
    return std::string(buffer,
                       std::min<std::size_t>(static_cast<std::size_t>(length), sizeof buffer - 1)) +
           suffix;
}

}  // namespace

float TemperatureFormatter::ComputeTemperature(std::int16_t raw, TemperatureUnit unit,
                                               std::int16_t background, float emissivity) {
    // Outside (0, 1] the document never passes one; without a positive emissivity the
    // correction has no result.
    if (!(emissivity > 0.0f)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    const double apparent = Single(static_cast<float>(raw) * kTenth);
    const double apparent4 = std::pow(apparent, 4.0);
    const double surroundings =
        Single(Single(static_cast<float>(background) * kTenth) + kZeroCelsius);
    const double surroundings4 = std::pow(surroundings, 4.0);
    const double reflected = Single(1.0f - emissivity);
    const double radiance = apparent4 - reflected * surroundings4;
    const double gain = Single(1.0f / emissivity);
    const double corrected = radiance * gain;
    const float kelvin = NarrowToSingle(std::pow(corrected, 0.25));
    return ConvertFromKelvin(kelvin, unit);
}

std::string TemperatureFormatter::FormatTemperature(std::int16_t raw, TemperatureUnit unit,
                                                    std::int16_t background, float emissivity,
                                                    bool compact) const {
    return FormatValue(ComputeTemperature(raw, unit, background, emissivity), unit, compact);
}

std::string TemperatureFormatter::FormatTemperatureDifference(std::int16_t rawA, std::int16_t rawB,
                                                              TemperatureUnit unit,
                                                              std::int16_t background,
                                                              float emissivity) const {
    const float a = ComputeTemperature(rawA, unit, background, emissivity);
    const float b = ComputeTemperature(rawB, unit, background, emissivity);
    const double difference = Single(b - a);
    if (!std::isfinite(difference)) {
        return kNoValue;
    }
    return Printf("%.1f", difference, UnitText(unit));
}

std::string TemperatureFormatter::FormatValue(double value, TemperatureUnit unit,
                                              bool compact) const {
    if (!std::isfinite(value)) {
        return kNoValue;
    }
    if (!compact) {
        return Printf("%.1f", value, UnitText(unit));
    }
    const bool withDecimal = value > -100.0 && value < 100.0;
    if (unit == temperature_unit::kKelvin) {
        return Printf(withDecimal ? "%.1f" : "%.0f", value, "");
    }
    return Printf(withDecimal ? "%.1f" : "%.0f", value, kDegreeSign);
}

std::string TemperatureFormatter::UnitText(TemperatureUnit unit) const {
    if (strings_ == nullptr) {
        return {};
    }
    switch (unit) {
        case temperature_unit::kCelsius:
            return strings_->String(kCelsiusText);
        case temperature_unit::kFahrenheit:
            return strings_->String(kFahrenheitText);
        default:
            return strings_->String(kKelvinText);
    }
}
