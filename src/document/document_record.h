#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/thermal_frame.h"

// Everything a document archive holds, as plain values. The document fills one to
// store itself and applies one after loading.
struct DocumentRecord {
    std::int16_t backgroundTemperature = 200;  // tenths of a degree Celsius
    std::int16_t paletteNumber = 1;
    std::int16_t integrationCount = 1;
    std::uint16_t spanLow = 2930;
    std::uint16_t spanHigh = 3130;
    std::int16_t temperatureUnit = 0;
    float emissivity = 1.0f;
    float emissivityFactor = 1.0f;
    std::string snapshotNote;  // UTF-8
    bool secondSpotShown = true;
    std::uint8_t spotPosition1 = 135;
    std::uint8_t spotPosition2 = 136;
    ThermalFrame displayFrame = ThermalFrame::Filled(kEmptyPictureValue);
    std::int64_t captureTime = 0;
    std::uint16_t rangeLow = 0;
    std::uint16_t rangeHigh = 0;
    // Stored only; one character per byte, as the head sent it.
    std::string rangeDescription;
    std::uint16_t headSerialNumber = 0;  // stored only
    std::int64_t freezeTime = 0;
    // The first view's modes; empty when there is no view (stored as 0) or when a
    // loaded archive did not hold them.
    std::optional<bool> interpolatedMode;
    std::optional<bool> edgeRepair;
};
