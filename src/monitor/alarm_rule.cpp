#include "monitor/alarm_rule.h"

#include <algorithm>
#include <cctype>

#include "monitor/duration_text.h"

namespace {

// "spot" followed by a number from 1.
std::optional<int> SpotNumberOf(std::string_view name) {
    constexpr std::string_view kSpot = "spot";
    if (!name.starts_with(kSpot) || name.size() == kSpot.size() || name.size() > kSpot.size() + 3) {
        return std::nullopt;
    }
    int number = 0;
    for (char c : name.substr(kSpot.size())) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
    }
    return number >= 1 ? std::optional<int>(number) : std::nullopt;
}

}  // namespace

std::optional<AlarmRule> AlarmRule::Parse(std::string_view text, std::string& error) {
    AlarmRule rule;
    rule.text_ = std::string(text);
    const std::size_t at = text.find_first_of("<>");
    if (at == std::string_view::npos) {
        error = "alarm '" + rule.text_ + "' needs > or < and a limit, as in max>80C";
        return std::nullopt;
    }
    const std::string_view name = text.substr(0, at);
    const std::string_view limit = text.substr(at + 1);
    rule.above_ = text[at] == '>';
    if (name == "max" || name == "min" || name == "mean") {
        rule.quantity_ = name == "max"   ? Quantity::kMax
                         : name == "min" ? Quantity::kMin
                                         : Quantity::kMean;
    } else if (const auto spot = SpotNumberOf(name)) {
        rule.quantity_ = Quantity::kSpot;
        rule.spot_ = *spot;
    } else if (name == "nohead" && rule.above_) {
        rule.quantity_ = Quantity::kNoHead;
        const auto duration = duration_text::Parse(limit);
        if (!duration) {
            error = "alarm '" + rule.text_ + "': the limit must be a duration, as in nohead>10s";
            return std::nullopt;
        }
        rule.limit_.value = std::chrono::duration<double>(*duration).count();
        return rule;
    } else {
        error = "alarm '" + rule.text_ +
                "': watch max, min, mean, spot1, spot2, … or nohead (nohead only with >)";
        return std::nullopt;
    }
    const auto temperature = temperature_text::Parse(limit);
    if (!temperature) {
        error = "alarm '" + rule.text_ + "': the limit must be a temperature, as in 80C";
        return std::nullopt;
    }
    rule.limit_ = *temperature;
    return rule;
}

std::optional<double> AlarmRule::ValueOf(const Reading& reading) const {
    switch (quantity_) {
        case Quantity::kMax:
            return reading.highest;
        case Quantity::kMin:
            return reading.lowest;
        case Quantity::kMean:
            return reading.mean;
        case Quantity::kSpot: {
            const auto index = static_cast<std::size_t>(spot_ - 1);
            return index < reading.spots.size() ? reading.spots[index] : std::nullopt;
        }
        case Quantity::kNoHead:
            break;
    }
    return std::nullopt;
}

double AlarmRule::Limit(TemperatureUnit readingUnit) const {
    if (quantity_ == Quantity::kNoHead) {
        return limit_.value;
    }
    return temperature_text::ToKelvin(limit_.value, limit_.unit.value_or(readingUnit));
}
