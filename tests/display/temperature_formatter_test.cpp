#include "display/temperature_formatter.h"

#include "support/fake_services.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using test_support::MapStrings;

using namespace temperature_unit;

const std::string kDeg = "\xC2\xB0";

class TemperatureFormatterTest : public ::testing::Test {
  protected:
    std::string Full(std::int16_t raw, TemperatureUnit unit, std::int16_t background = 0,
                     float emissivity = 1.0f) const {
        return formatter_.FormatTemperature(raw, unit, background, emissivity, false);
    }
    std::string Compact(std::int16_t raw, TemperatureUnit unit) const {
        return formatter_.FormatTemperature(raw, unit, 0, 1.0f, true);
    }

    MapStrings strings_ = MapStrings::Standard();
    TemperatureFormatter formatter_{&strings_};
};

TEST_F(TemperatureFormatterTest, ZeroCelsiusInFullForm) {
    EXPECT_EQ(Full(2730, kCelsius), "0.0" + kDeg + "C");
    EXPECT_EQ(Full(2730, kCelsius, -300), "0.0" + kDeg + "C");
}

TEST_F(TemperatureFormatterTest, FullFormUnitTexts) {
    EXPECT_EQ(Full(3730, kFahrenheit), "212.0" + kDeg + "F");
    EXPECT_EQ(Full(2961, kKelvin), "296.1K");
    // Any other code converts nothing and shows the Kelvin text.
    EXPECT_EQ(Full(2961, 5), "296.1K");
}

TEST_F(TemperatureFormatterTest, CompactFormDecimalsDependOnMagnitude) {
    EXPECT_EQ(formatter_.FormatValue(99.94f, kCelsius, true), "99.9" + kDeg);
    EXPECT_EQ(formatter_.FormatValue(100.0f, kCelsius, true), "100" + kDeg);
    EXPECT_EQ(formatter_.FormatValue(105.3f, kFahrenheit, true), "105" + kDeg);
    EXPECT_EQ(formatter_.FormatValue(-100.0f, kCelsius, true), "-100" + kDeg);
    EXPECT_EQ(formatter_.FormatValue(-99.5f, kCelsius, true), "-99.5" + kDeg);
    EXPECT_EQ(Compact(3000, kCelsius), "27.0" + kDeg);
}

TEST_F(TemperatureFormatterTest, CompactKelvinDropsOnlyTheDegreeSign) {
    EXPECT_EQ(formatter_.FormatValue(296.15f, kKelvin, true), "296");
    EXPECT_EQ(formatter_.FormatValue(57.26f, kKelvin, true), "57.3");
    EXPECT_EQ(Compact(2744, kKelvin), "274");
    // Only code 1 loses the sign.
    EXPECT_EQ(Compact(2961, 5), "296" + kDeg);
}

TEST_F(TemperatureFormatterTest, StepsAreRoundedToSinglePrecision) {
    volatile float tenth = 0.1f;
    volatile float apparent = 2731.0f * tenth;
    volatile float celsius = apparent - 273.0f;
    volatile float scaled = celsius * 1.8f;
    volatile float fahrenheit = scaled + 32.0f;
    EXPECT_EQ(TemperatureFormatter::ComputeTemperature(2731, kKelvin, 0, 1.0f), apparent);
    EXPECT_EQ(TemperatureFormatter::ComputeTemperature(2731, kCelsius, 0, 1.0f), celsius);
    EXPECT_EQ(TemperatureFormatter::ComputeTemperature(2731, kFahrenheit, 0, 1.0f), fahrenheit);
    // In double precision the Celsius value would be 0.1 to within 1e-13.
    EXPECT_GT(std::fabs(celsius - 0.1), 1e-7);
}

TEST_F(TemperatureFormatterTest, EmissivityCorrection) {
    // A surface at the background temperature reads the same whatever its emissivity.
    EXPECT_NEAR(TemperatureFormatter::ComputeTemperature(2980, kKelvin, 250, 0.5f), 298.0f, 1e-3f);
    EXPECT_EQ(Full(2980, kCelsius, 250, 0.5f), "25.0" + kDeg + "C");
    // A surface warmer than its surroundings is warmer than it appears.
    EXPECT_GT(TemperatureFormatter::ComputeTemperature(3230, kCelsius, 200, 0.9f), 50.0f);
}

TEST_F(TemperatureFormatterTest, NoRealCorrectionGivesAStar) {
    EXPECT_TRUE(std::isnan(TemperatureFormatter::ComputeTemperature(2000, kKelvin, 250, 0.5f)));
    EXPECT_EQ(Full(2000, kCelsius, 250, 0.5f), "*");
    EXPECT_EQ(formatter_.FormatTemperature(2000, kKelvin, 250, 0.5f, true), "*");
    EXPECT_EQ(formatter_.FormatTemperatureDifference(2000, 3000, kCelsius, 250, 0.5f), "*");
    EXPECT_EQ(formatter_.FormatTemperatureDifference(3000, 2000, kCelsius, 250, 0.5f), "*");
}

TEST_F(TemperatureFormatterTest, DifferenceIsSecondMinusFirst) {
    EXPECT_EQ(formatter_.FormatTemperatureDifference(2744, 3000, kCelsius, 0, 1.0f),
              "25.6" + kDeg + "C");
    EXPECT_EQ(formatter_.FormatTemperatureDifference(3000, 2744, kKelvin, 0, 1.0f), "-25.6K");
    // Fahrenheit differences are Celsius differences times 1.8.
    EXPECT_EQ(formatter_.FormatTemperatureDifference(2744, 3000, kFahrenheit, 0, 1.0f),
              "46.1" + kDeg + "F");
}

TEST_F(TemperatureFormatterTest, NonFiniteValuesNeverPrintAsNumbers) {
    EXPECT_EQ(formatter_.FormatValue(INFINITY, kCelsius, false), "*");
    EXPECT_EQ(formatter_.FormatValue(-INFINITY, kKelvin, true), "*");
    EXPECT_EQ(Full(3000, kCelsius, 0, 0.0f), "*");
    EXPECT_EQ(Full(3000, kCelsius, 0, -0.5f), "*");
    // The reciprocal of the smallest emissivity overflows single precision.
    EXPECT_EQ(Full(3000, kCelsius, 0, 1e-45f), "*");
}

TEST(TemperatureFormatterWithoutTexts, UnitTextsAreEmpty) {
    const TemperatureFormatter formatter;
    EXPECT_EQ(formatter.FormatTemperature(2730, kCelsius, 0, 1.0f, false), "0.0");
    MapStrings partial({{153, "K"}});
    const TemperatureFormatter withKelvinOnly(&partial);
    EXPECT_EQ(withKelvinOnly.FormatTemperature(2730, kCelsius, 0, 1.0f, false), "0.0");
    EXPECT_EQ(withKelvinOnly.FormatTemperature(2730, kKelvin, 0, 1.0f, false), "273.0K");
}

}  // namespace
