#include "monitor/interval_frames.h"

#include <cmath>
#include <utility>

#include "display/temperature_formatter.h"
#include "display/thermal_image_layout.h"

IntervalFrames::IntervalFrames(LogSettings settings) : settings_(std::move(settings)) {
    StartValuesAfresh();
}

void IntervalFrames::SetSettings(const LogSettings& settings) {
    std::lock_guard lock(mutex_);
    if (settings == settings_) {
        return;
    }
    const bool valuesChange =
        settings.correction != settings_.correction || settings.spots != settings_.spots;
    settings_ = settings;
    if (valuesChange) {
        StartValuesAfresh();
    }
}

LogSettings IntervalFrames::Settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void IntervalFrames::StartValuesAfresh() {
    statistics_ = FrameStatistics();
    spotSums_.assign(settings_.spots.size(), SpotSum{});
}

void IntervalFrames::FrameArrived(const ThermalFrame& frame) {
    std::lock_guard lock(mutex_);
    integrator_.Update(frame, averaged_, settings_.averageCount);
    anyFrame_ = true;
    ++frames_;
    statistics_.Merge(FrameStatistics::Of(averaged_, settings_.correction));
    AddSpots(averaged_);
}

void IntervalFrames::AddSpots(const ThermalFrame& averaged) {
    const TemperatureCorrection& c = settings_.correction;
    for (std::size_t k = 0; k < settings_.spots.size(); ++k) {
        const auto& cell = settings_.spots[k];
        if (!cell) {
            continue;
        }
        const auto index =
            static_cast<std::size_t>(MarkerCell{cell->column, cell->row}.FrameIndex());
        const float value = TemperatureFormatter::ComputeTemperature(
            static_cast<std::int16_t>(averaged[index]), c.unit, c.background, c.emissivity);
        if (std::isfinite(value)) {
            spotSums_[k].sum += value;
            ++spotSums_[k].count;
        }
    }
}

IntervalSummary IntervalFrames::TakeSummary() {
    std::lock_guard lock(mutex_);
    IntervalSummary summary;
    summary.frames = std::exchange(frames_, 0);
    summary.statistics = statistics_;
    summary.unit = settings_.correction.unit;
    for (const SpotSum& spot : spotSums_) {
        summary.spots.push_back(spot.count == 0 ? std::nullopt
                                                : std::optional<float>(static_cast<float>(
                                                      spot.sum / static_cast<double>(spot.count))));
    }
    StartValuesAfresh();
    return summary;
}

std::optional<ThermalFrame> IntervalFrames::LatestPicture() const {
    std::lock_guard lock(mutex_);
    return anyFrame_ ? std::optional<ThermalFrame>(averaged_) : std::nullopt;
}
