#include "display/frame_statistics.h"

#include <cmath>

#include "display/temperature_formatter.h"

FrameStatistics FrameStatistics::Of(const ThermalFrame& frame,
                                    const TemperatureCorrection& correction) {
    FrameStatistics result;
    for (int i = 0; i < kFramePixels; ++i) {
        const float value = TemperatureFormatter::ComputeTemperature(
            static_cast<std::int16_t>(frame[static_cast<std::size_t>(i)]), correction.unit,
            correction.background, correction.emissivity);
        if (!std::isfinite(value)) {
            continue;
        }
        const FrameCell cell{i / kFrameSide, i % kFrameSide};
        if (result.cells_ == 0 || value > result.highest_) {
            result.highest_ = value;
            result.hottest_ = cell;
        }
        if (result.cells_ == 0 || value < result.lowest_) {
            result.lowest_ = value;
            result.coldest_ = cell;
        }
        result.sum_ += value;
        ++result.cells_;
    }
    return result;
}

void FrameStatistics::Merge(const FrameStatistics& later) {
    if (later.cells_ == 0) {
        return;
    }
    if (cells_ == 0 || later.highest_ > highest_) {
        highest_ = later.highest_;
        hottest_ = later.hottest_;
    }
    if (cells_ == 0 || later.lowest_ < lowest_) {
        lowest_ = later.lowest_;
        coldest_ = later.coldest_;
    }
    sum_ += later.sum_;
    cells_ += later.cells_;
}
