#include "display/temperature_trend.h"

#include <algorithm>
#include <cmath>

#include "display/thermal_image_layout.h"

namespace {

std::int16_t Signed(std::uint16_t value) {
    return static_cast<std::int16_t>(value);
}

std::int16_t ValueAt(const ThermalFrame& frame, FrameCell cell) {
    return Signed(frame[static_cast<std::size_t>(cell.row * kFrameSide + cell.column)]);
}

std::int16_t SpotValue(const ThermalFrame& frame, std::uint8_t position) {
    return Signed(frame[static_cast<std::size_t>(MarkerCell::FromPosition(position).FrameIndex())]);
}

}  // namespace

void TemperatureTrend::Accumulator::Start(Point& into, const Point& first) {
    into = first;
    spot1 = first.spot1;
    spot2 = first.spot2.value_or(0);
    count1 = 1;
    count2 = first.spot2 ? 1 : 0;
}

void TemperatureTrend::Accumulator::Merge(Point& into, const Point& next) {
    const auto mean = [](long long sum, int count) {
        return static_cast<std::int16_t>(std::lround(static_cast<double>(sum) / count));
    };
    into.highest = std::max(into.highest, next.highest);
    into.lowest = std::min(into.lowest, next.lowest);
    spot1 += next.spot1;
    into.spot1 = mean(spot1, ++count1);
    if (next.spot2) {
        spot2 += *next.spot2;
        into.spot2 = mean(spot2, ++count2);
    }
}

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

TemperatureTrend::Clock::time_point TemperatureTrend::StartOfStretch(Clock::time_point time,
                                                                     Clock::duration stretch) {
    return time - time.time_since_epoch() % stretch;
}

void TemperatureTrend::Add(const Reading& reading) {
    if (headSerial_ != reading.headSerial) {
        Clear();
        headSerial_ = reading.headSerial;
    }
    const Point point{StartOfStretch(reading.time, kStep), reading.highest, reading.lowest,
                      reading.spot1, reading.spot2};
    if (points_.empty() || point.time > points_.back().time) {
        points_.emplace_back();
        last_.Start(points_.back(), point);
    } else {
        last_.Merge(points_.back(), point);
    }
    const Clock::time_point oldest = points_.back().time - kLongestWindow;
    while (points_.front().time <= oldest) {
        points_.pop_front();
    }
}

std::vector<TemperatureTrend::Point> TemperatureTrend::Points(Clock::time_point now,
                                                              Clock::duration window,
                                                              std::size_t most) const {
    // Every second that ends within the window.
    const Clock::time_point from = now - window;
    const auto first = std::find_if(points_.begin(), points_.end(), [from](const Point& point) {
        return point.time + kStep > from;
    });
    std::vector<Point> shown(first, points_.end());
    const Clock::duration stretch = Stretch(window, most);
    return stretch == kStep ? shown : Merged(shown, stretch);
}

TemperatureTrend::Clock::duration TemperatureTrend::Stretch(Clock::duration window,
                                                            std::size_t most) {
    // Whole steps, enough for the window to need at most `most` of them.
    const auto steps =
        static_cast<std::size_t>(std::chrono::ceil<std::chrono::seconds>(window) / kStep);
    if (most == 0 || steps <= most) {
        return kStep;
    }
    return kStep * static_cast<int>((steps + most - 1) / most);
}

std::vector<TemperatureTrend::Point> TemperatureTrend::Merged(const std::vector<Point>& points,
                                                              Clock::duration stretch) {
    std::vector<Point> merged;
    Accumulator sums;
    for (const Point& point : points) {
        Point aligned = point;
        aligned.time = StartOfStretch(point.time, stretch);
        if (merged.empty() || aligned.time != merged.back().time) {
            merged.emplace_back();
            sums.Start(merged.back(), aligned);
        } else {
            sums.Merge(merged.back(), aligned);
        }
    }
    return merged;
}

void TemperatureTrend::Clear() {
    points_.clear();
    last_ = Accumulator{};
    headSerial_.reset();
}
