#pragma once

#include <optional>
#include <vector>

#include "display/frame_statistics.h"

// How a log turns frames into values: the corrections and unit, the cells of its spots
// and how many frames are averaged before anything is read from them.
struct LogSettings {
    TemperatureCorrection correction;
    // Picture cells (row 0 at the top), in order; an empty one gives no value (the
    // imager's hidden second spot).
    std::vector<std::optional<FrameCell>> spots;
    // 1..10, as the imager's integration count.
    int averageCount = 1;

    bool operator==(const LogSettings&) const = default;
};
