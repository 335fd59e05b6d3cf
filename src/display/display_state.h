#pragma once

#include <array>
#include <cstdint>

#include "display/temperature_unit.h"

// What the value controls show besides the picture itself, one value for all three:
// palette, display span, corrections, unit, the spot markers and what the arrow keys
// move. Temperatures are in tenths (of a kelvin for the span, of a degree Celsius for
// the background), as the head and the document archive hold them.
struct DisplayState {
    // What the arrow keys move: a spot marker or the display span.
    enum Selection : std::int16_t { kSpot1 = 0, kSpot2 = 1, kSpan = 2 };

    std::int16_t paletteNumber = 0;
    std::int16_t spanLow = 2744;
    std::int16_t spanHigh = 3000;
    float emissivity = 1.0f;
    TemperatureUnit unit = temperature_unit::kCelsius;
    std::int16_t background = 0;
    // Row × 16 + column of spot 1 and spot 2.
    std::array<std::uint8_t, 2> spots{135, 136};
    bool secondSpotShown = true;
    Selection selection = kSpot1;

    bool operator==(const DisplayState&) const = default;
};
