#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/head_range.h"
#include "link/link_health.h"
#include "monitor/interval_frames.h"
#include "monitor/reading.h"

class ImagerLink;

// What the link tells of the head when an interval ends.
struct HeadStatus {
    bool absent = false;
    std::uint16_t serialNumber = 0;
    HeadRange range;
    LinkHealth health;

    static HeadStatus Of(const ImagerLink& link);
};

// Turns the summary of an interval and the head's status at its end into a row; what the
// line lost is counted from the previous row.
class ReadingMaker {
  public:
    Reading Make(const IntervalSummary& frames, const HeadStatus& head, std::int64_t time,
                 std::string timeText);

  private:
    std::optional<LinkHealth> previous_;
};
