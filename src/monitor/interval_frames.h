#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "acquisition/acquisition_listener.h"
#include "acquisition/frame_integrator.h"
#include "display/frame_statistics.h"
#include "link/thermal_frame.h"
#include "monitor/log_settings.h"

// What the frames of one interval showed, corrected with the log's settings.
struct IntervalSummary {
    std::uint64_t frames = 0;
    FrameStatistics statistics;
    // The mean of each spot over the frames; empty without a value.
    std::vector<std::optional<float>> spots;
    TemperatureUnit unit = temperature_unit::kCelsius;
};

// Gathers the frames of the current interval: each frame the link delivers is averaged
// as the settings ask and its statistics and spot values are added. Frames come from
// the acquisition thread; the log's thread takes each interval's summary. A change of
// corrections starts the interval's values afresh, so that no row mixes units.
class IntervalFrames : public FrameObserver {
  public:
    explicit IntervalFrames(LogSettings settings);

    // Any thread.
    void SetSettings(const LogSettings& settings);
    LogSettings Settings() const;

    void FrameArrived(const ThermalFrame& frame) override;

    // The summary of the frames since the last call; the next interval begins.
    IntervalSummary TakeSummary();
    // The newest averaged frame; empty before the first.
    std::optional<ThermalFrame> LatestPicture() const;

  private:
    struct SpotSum {
        double sum = 0.0;
        std::uint64_t count = 0;
    };
    // The caller holds the lock.
    void StartValuesAfresh();
    void AddSpots(const ThermalFrame& averaged);

    mutable std::mutex mutex_;
    LogSettings settings_;
    FrameIntegrator integrator_;
    ThermalFrame averaged_{};
    bool anyFrame_ = false;
    std::uint64_t frames_ = 0;
    FrameStatistics statistics_;
    std::vector<SpotSum> spotSums_;
};
