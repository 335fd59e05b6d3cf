#include "display/temperature_trend.h"

#include <algorithm>
#include <cmath>

#include "display/thermal_image_layout.h"

namespace {

std::int16_t Signed(std::uint16_t value) {
    return static_cast<std::int16_t>(value);
}

std::int16_t Mean(long long sum, int count) {
    return static_cast<std::int16_t>(std::lround(static_cast<double>(sum) / count));
}

std::int16_t ValueAt(const ThermalFrame& frame, FrameCell cell) {
    return Signed(frame[static_cast<std::size_t>(cell.row * kFrameSide + cell.column)]);
}

std::int16_t SpotValue(const ThermalFrame& frame, std::uint8_t position) {
    return Signed(frame[static_cast<std::size_t>(MarkerCell::FromPosition(position).FrameIndex())]);
}

}  // namespace

TemperatureTrend::Reading TemperatureTrend::ReadingOf(const ThermalFrame& frame,
                                                      const TemperatureCorrection& correction,
                                                      std::array<std::uint8_t, 2> spots,
                                                      bool secondSpotShown) {
    const FrameStatistics statistics = FrameStatistics::Of(frame, correction);
    Reading reading;
    // Without any real corrected value the frame's first cell stands for both.
    reading.highest = ValueAt(frame, statistics.Hottest());
    reading.lowest = ValueAt(frame, statistics.Coldest());
    reading.spot1 = SpotValue(frame, spots[0]);
    if (secondSpotShown) {
        reading.spot2 = SpotValue(frame, spots[1]);
    }
    return reading;
}

TemperatureTrend::Clock::time_point TemperatureTrend::StartOfStep(Clock::time_point time) {
    return time - time.time_since_epoch() % kStep;
}

void TemperatureTrend::Add(const Reading& reading) {
    if (headSerial_ != reading.headSerial) {
        Clear();
        headSerial_ = reading.headSerial;
    }
    if (points_.empty() || reading.time >= points_.back().time + kStep) {
        StartPoint(reading);
    } else {
        MergeIntoLast(reading);
    }
    const Clock::time_point oldest = points_.back().time - kLongestWindow;
    while (points_.front().time <= oldest) {
        points_.pop_front();
    }
}

void TemperatureTrend::StartPoint(const Reading& reading) {
    points_.push_back(Point{StartOfStep(reading.time), reading.highest, reading.lowest,
                            reading.spot1, reading.spot2});
    sums_ = SpotSums{reading.spot1, reading.spot2.value_or(0), 1, reading.spot2 ? 1 : 0};
}

void TemperatureTrend::MergeIntoLast(const Reading& reading) {
    Point& last = points_.back();
    last.highest = std::max(last.highest, reading.highest);
    last.lowest = std::min(last.lowest, reading.lowest);
    sums_.spot1 += reading.spot1;
    ++sums_.count1;
    last.spot1 = Mean(sums_.spot1, sums_.count1);
    if (reading.spot2) {
        sums_.spot2 += *reading.spot2;
        ++sums_.count2;
        last.spot2 = Mean(sums_.spot2, sums_.count2);
    }
}

std::vector<TemperatureTrend::Point> TemperatureTrend::Points(Clock::time_point now,
                                                              Clock::duration window) const {
    // Every second that ends within the window.
    const Clock::time_point from = now - window;
    const auto first = std::find_if(points_.begin(), points_.end(), [from](const Point& point) {
        return point.time + kStep > from;
    });
    return std::vector<Point>(first, points_.end());
}

void TemperatureTrend::Clear() {
    points_.clear();
    sums_ = SpotSums{};
    headSerial_.reset();
}
