#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "display/frame_statistics.h"
#include "link/thermal_frame.h"

// The readings of the frames taken over the last 15 minutes, one point per second: the
// values of the hottest and the coldest cell and of the two spots. Values stay the
// head's own (tenths of a kelvin, read as signed, as the controls read them), so that a
// later change of unit or correction applies to the whole trend. Frames of a different
// head clear it.
class TemperatureTrend {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kStep{1};
    static constexpr std::chrono::minutes kLongestWindow{15};

    // One frame's readings.
    struct Reading {
        Clock::time_point time;
        std::uint16_t headSerial = 0;
        std::int16_t highest = 0;
        std::int16_t lowest = 0;
        std::int16_t spot1 = 0;
        std::optional<std::int16_t> spot2;  // while spot 2 is shown
    };

    // One second: the highest and lowest value of its frames, the spots' mean.
    struct Point {
        Clock::time_point time;  // where its second starts
        std::int16_t highest = 0;
        std::int16_t lowest = 0;
        std::int16_t spot1 = 0;
        std::optional<std::int16_t> spot2;
    };

    // The readings of `frame`: its hottest and coldest cell as `correction` finds them,
    // and the spots at picture positions `spots` (row × 16 + column).
    static Reading ReadingOf(const ThermalFrame& frame, const TemperatureCorrection& correction,
                             std::array<std::uint8_t, 2> spots, bool secondSpotShown);

    // Takes a reading no older than the last one; points older than the longest window
    // before it are dropped.
    void Add(const Reading& reading);
    // The points of the `window` before `now`, oldest first, the second in progress last.
    // With more than `most` of them, those of each stretch of a few whole seconds (counted
    // from the clock's start, so the stretches stay put as time goes on) become one, with
    // their extremes and the mean of their spots.
    std::vector<Point> Points(Clock::time_point now, Clock::duration window,
                              std::size_t most = SIZE_MAX) const;
    // The stretch Points merges for `window` and `most`: one step when no merging is needed.
    static Clock::duration Stretch(Clock::duration window, std::size_t most);
    // Where the stretch that holds `time` starts.
    static Clock::time_point StartOfStretch(Clock::time_point time, Clock::duration stretch);
    std::size_t Size() const { return points_.size(); }
    void Clear();

  private:
    // Sums behind a point's spot means while points are merged into it.
    struct Accumulator {
        long long spot1 = 0;
        long long spot2 = 0;
        int count1 = 0;
        int count2 = 0;

        void Start(Point& into, const Point& first);
        // Keeps the extremes of both and the mean of every spot merged so far.
        void Merge(Point& into, const Point& next);
    };

    static std::vector<Point> Merged(const std::vector<Point>& points, Clock::duration stretch);

    std::deque<Point> points_;
    Accumulator last_;  // of the last point
    std::optional<std::uint16_t> headSerial_;
};
