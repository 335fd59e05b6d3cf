#pragma once

#include <optional>

#include "monitor/alarm_rule.h"
#include "monitor/reading.h"

// The state of one alarm over the rows of a log. It starts when its value passes the
// limit and ends only once the value is back beyond the limit by the hysteresis, so that
// a value hovering at the limit gives one alarm. A row without the value changes
// nothing. The nohead alarm starts once no head has answered for longer than its limit
// and ends with the next frame.
class AlarmWatch {
  public:
    AlarmWatch(AlarmRule rule, double hysteresisKelvin)
        : rule_(std::move(rule)), hysteresis_(hysteresisKelvin) {}

    // The start or end the row brings. `headAbsentSeconds`: how long no head has answered,
    // while none does.
    std::optional<AlarmEvent> Update(const Reading& reading,
                                     std::optional<double> headAbsentSeconds);

    const AlarmRule& Rule() const { return rule_; }
    bool Active() const { return active_; }

  private:
    std::optional<AlarmEvent> UpdateNoHead(const Reading& reading,
                                           std::optional<double> headAbsentSeconds);
    AlarmEvent Event(const Reading& reading, std::optional<double> value) const;

    AlarmRule rule_;
    double hysteresis_;
    bool active_ = false;
};
