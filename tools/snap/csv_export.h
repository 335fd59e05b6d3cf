#pragma once

#include <optional>
#include <string>

#include "display/temperature_unit.h"

struct SnapshotFile;

namespace csv_export {

struct Choice {
    bool raw = false;
    // The snapshot's own unit when empty.
    std::optional<TemperatureUnit> unit;
};

// One comment line, then 16 rows of 16 values, row 0 at the top of the screen and
// column 0 at its left. Temperatures are corrected and printed as the imager prints
// them, without the unit; a value without a real result is an empty cell. Raw values
// are the stored tenths of a kelvin.
std::string Text(const SnapshotFile& file, const Choice& choice);

}  // namespace csv_export
