#include "monitor/alarm_watch.h"

std::optional<AlarmEvent> AlarmWatch::Update(const Reading& reading,
                                             std::optional<double> headAbsentSeconds) {
    if (rule_.Watched() == AlarmRule::Quantity::kNoHead) {
        return UpdateNoHead(reading, headAbsentSeconds);
    }
    const auto value = rule_.ValueOf(reading);
    if (!value) {
        return std::nullopt;
    }
    const double kelvin = temperature_text::ToKelvin(*value, reading.unit);
    const double limit = rule_.Limit(reading.unit);
    const bool beyond = rule_.Above() ? kelvin > limit : kelvin < limit;
    const bool back = rule_.Above() ? kelvin <= limit - hysteresis_ : kelvin >= limit + hysteresis_;
    if (active_ ? !back : !beyond) {
        return std::nullopt;
    }
    active_ = !active_;
    AlarmEvent event = Event(reading, value);
    event.unit = reading.unit;
    return event;
}

std::optional<AlarmEvent> AlarmWatch::UpdateNoHead(const Reading& reading,
                                                   std::optional<double> headAbsentSeconds) {
    if (!active_ && headAbsentSeconds && *headAbsentSeconds > rule_.Limit(reading.unit)) {
        active_ = true;
        return Event(reading, headAbsentSeconds);
    }
    if (active_ && reading.framesTaken > 0) {
        active_ = false;
        return Event(reading, std::nullopt);
    }
    return std::nullopt;
}

AlarmEvent AlarmWatch::Event(const Reading& reading, std::optional<double> value) const {
    AlarmEvent event;
    event.time = reading.time;
    event.timeText = reading.timeText;
    event.alarm = rule_.Text();
    event.started = active_;
    event.value = value;
    return event;
}
