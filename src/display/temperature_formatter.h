#pragma once

#include <cstdint>
#include <string>

#include "display/temperature_unit.h"

class StringResources;

// Corrects apparent temperatures from the head for emissivity and the reflected
// background, converts them to the display unit and turns them into text. Unit texts
// (151 Celsius, 152 Fahrenheit, 153 Kelvin) come from the string resources; without
// resources they are empty.
class TemperatureFormatter {
  public:
    explicit TemperatureFormatter(const StringResources* strings = nullptr) : strings_(strings) {}

    void SetStrings(const StringResources* strings) { strings_ = strings; }
    const StringResources* Strings() const { return strings_; }

    // raw: tenths of a kelvin (read as signed); background: tenths of a degree Celsius.
    // The result is not a number when the correction has no real result.
    static float ComputeTemperature(std::int16_t raw, TemperatureUnit unit, std::int16_t background,
                                    float emissivity);

    // Full form "%.1f" + unit text, or the compact form with a degree sign (Kelvin
    // without it). "*" when the corrected value is not a finite number.
    std::string FormatTemperature(std::int16_t raw, TemperatureUnit unit, std::int16_t background,
                                  float emissivity, bool compact) const;

    // Corrected rawB minus corrected rawA, "%.1f" + unit text, or "*".
    std::string FormatTemperatureDifference(std::int16_t rawA, std::int16_t rawB,
                                            TemperatureUnit unit, std::int16_t background,
                                            float emissivity) const;

    // The text of an already corrected value in the given unit.
    std::string FormatValue(double value, TemperatureUnit unit, bool compact) const;

    std::string UnitText(TemperatureUnit unit) const;

  private:
    const StringResources* strings_;
};
