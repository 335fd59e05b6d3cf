#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "monitor/reading.h"
#include "monitor/temperature_text.h"

// One alarm as the user writes it: a watched value, > or <, and a limit. "max>80C",
// "min<5C", "mean>30", "spot1<41F", "nohead>10s". A temperature without a unit is in the
// log's unit; the limit of nohead is how long no head has answered.
class AlarmRule {
  public:
    enum class Quantity { kMax, kMin, kMean, kSpot, kNoHead };

    // Empty, with `error` set, when `text` is not an alarm.
    static std::optional<AlarmRule> Parse(std::string_view text, std::string& error);

    const std::string& Text() const { return text_; }
    Quantity Watched() const { return quantity_; }
    // The spot's number (1 for spot1) of a spot alarm.
    int SpotNumber() const { return spot_; }
    bool Above() const { return above_; }

    // The watched temperature of `reading`, in its unit; empty without one.
    std::optional<double> ValueOf(const Reading& reading) const;
    // The limit in kelvin (a temperature alarm), or in seconds (nohead).
    double Limit(TemperatureUnit readingUnit) const;

  private:
    std::string text_;
    Quantity quantity_ = Quantity::kMax;
    int spot_ = 0;
    bool above_ = true;
    temperature_text::Temperature limit_;
};
