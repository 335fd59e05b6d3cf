#include "monitor/reading_maker.h"

#include <utility>

#include "display/thermal_image_layout.h"
#include "document/text_codec.h"
#include "link/imager_link.h"

namespace {

std::uint64_t LostOnTheLine(const LinkHealth& health) {
    return health.framesDropped + health.packetsDamaged;
}

// The picture cell of a frame cell.
FrameCell PictureCell(FrameCell frameCell) {
    const MarkerCell cell =
        MarkerCell::FromFrameIndex(frameCell.row * kFrameSide + frameCell.column);
    return {cell.row, cell.column};
}

// The range's text up to the head's zero padding, without trailing blanks, in UTF-8.
std::string RangeText(const std::string& description) {
    std::string text = description.substr(0, description.find('\0'));
    text.erase(text.find_last_not_of(' ') + 1);
    return text_codec::Utf16ToUtf8(text_codec::BytesToUtf16(text));
}

}  // namespace

HeadStatus HeadStatus::Of(const ImagerLink& link) {
    HeadStatus status;
    status.absent = link.HeadAbsent();
    status.serialNumber = link.HeadSerialNumber();
    status.range = link.CurrentRange();
    status.health = link.Health();
    return status;
}

Reading ReadingMaker::Make(const IntervalSummary& frames, const HeadStatus& head, std::int64_t time,
                           std::string timeText) {
    Reading reading;
    reading.time = time;
    reading.timeText = std::move(timeText);
    reading.unit = frames.unit;
    reading.framesTaken = frames.frames;
    const std::uint64_t lostBefore = previous_ ? LostOnTheLine(*previous_) : 0;
    reading.framesLost = LostOnTheLine(head.health) - lostBefore;
    previous_ = head.health;

    // A head that sent frames at some time and answers now is named; the range only
    // once the head has told it.
    if (!head.absent && head.health.framesTaken > 0) {
        reading.headSerial = head.serialNumber;
        if (head.range.number >= 1 && head.range.number <= 6) {
            reading.rangeNumber = head.range.number;
            reading.rangeText = RangeText(head.range.description);
        }
    }
    reading.state = frames.frames == 0 && head.absent ? "no head" : "ok";
    if (!frames.statistics.Empty()) {
        reading.lowest = frames.statistics.Lowest();
        reading.highest = frames.statistics.Highest();
        reading.mean = frames.statistics.Mean();
        reading.hottest = PictureCell(frames.statistics.Hottest());
        reading.coldest = PictureCell(frames.statistics.Coldest());
    }
    reading.spots = frames.spots;
    return reading;
}
