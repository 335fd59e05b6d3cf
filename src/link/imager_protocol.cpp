#include "link/imager_protocol.h"

#include <algorithm>

#include "link/head_event_sink.h"
#include "link/head_wire.h"

namespace {

// Built-in limit pairs, tenths of a kelvin.
constexpr std::uint16_t kStandardLower = 2630;          // -10 °C
constexpr std::uint16_t kStandardUpper = 5730;          // 300 °C
constexpr std::uint16_t kHighTemperatureUpper = 12730;  // 1000 °C
constexpr std::uint16_t kEarlyLower = 2530;             // -20 °C, device types 31 and 61
constexpr std::uint16_t kEarlyUpper = 8732;             // 600.2 °C

// Head limits arrive in whole kelvin; the tables hold tenths in 16 bits.
constexpr std::uint16_t kHeadLimitCeiling = 32730;
constexpr std::uint16_t kLargestStorableKelvin = 6553;

bool HasSlot(int number) {
    return number >= head_wire::kFirstRange &&
           number < head_wire::kFirstRange + head_wire::kRangeSlots;
}

std::size_t SlotOf(int number) {
    return static_cast<std::size_t>(number - head_wire::kFirstRange);
}

bool HasHighTemperatureMark(const std::string& text) {
    return text.size() > head_wire::kHighTemperatureMarkIndex &&
           head_wire::IsHighTemperatureMark(text[head_wire::kHighTemperatureMarkIndex]);
}

bool IsEdgeRepairHead(std::uint8_t deviceType) {
    return deviceType == 71 || deviceType == 96;
}

bool IsEarlyLimitHead(std::uint8_t deviceType) {
    return deviceType == 31 || deviceType == 61;
}

// Copies the second ring inwards over the outermost ring: rows first, then columns, then
// the corners from the rows just written.
void RepairEdges(ThermalFrame& frame) {
    auto at = [&frame](int row, int column) -> std::uint16_t& {
        return frame[static_cast<std::size_t>(row * kFrameSide + column)];
    };
    constexpr int kLast = kFrameSide - 1;
    for (int c = 1; c < kLast; ++c) {
        at(0, c) = at(1, c);
    }
    for (int c = 1; c < kLast; ++c) {
        at(kLast, c) = at(kLast - 1, c);
    }
    for (int r = 1; r < kLast; ++r) {
        at(r, kLast) = at(r, kLast - 1);
    }
    for (int r = 1; r < kLast; ++r) {
        at(r, 0) = at(r, 1);
    }
    at(0, 0) = at(0, 1);
    at(0, kLast) = at(0, kLast - 1);
    at(kLast, 0) = at(kLast, 1);
    at(kLast, kLast) = at(kLast, kLast - 1);
}

}  // namespace

ImagerProtocol::ImagerProtocol(HeadEventSink* events) : events_(events) {
    ForgetRanges();
}

void ImagerProtocol::ForgetRanges() {
    descriptions_.clear();
    descriptions_.reserve(10);
    receivedRangeCount_ = 0;
    limits_.fill(Limits{kStandardLower, kHighTemperatureUpper});
}

std::optional<HeadCommand> ImagerProtocol::OutstandingCommand() const {
    std::lock_guard lock(mutex_);
    if (reportedRangeCount_ == head_wire::kUnknownRange) {
        return HeadCommand::QueryRangeCount();
    }
    if (reportedRangeCount_ != receivedRangeCount_) {
        return HeadCommand::RequestDescription(static_cast<std::uint8_t>(receivedRangeCount_ + 1));
    }
    return std::nullopt;
}

void ImagerProtocol::AskForRanges() {
    std::lock_guard lock(mutex_);
    reportedRangeCount_ = head_wire::kUnknownRange;
}

ImagerProtocol::DecodeResult ImagerProtocol::Decode(const PacketBuffer& packet) {
    Effects effects;
    {
        std::lock_guard lock(mutex_);
        DecodeLocked(packet, effects);
    }
    Announce(effects);
    return DecodeResult{effects.frameAccepted, effects.selectFirstRange};
}

void ImagerProtocol::DecodeLocked(const PacketBuffer& packet, Effects& effects) {
    const std::uint8_t deviceType = packet[head_wire::kDeviceTypeOffset];
    if (!head_wire::IsAcceptedDeviceType(deviceType)) {
        ++damagedPackets_;
        return;
    }
    deviceTypeCode_ = deviceType;
    if (IsEarlyLimitHead(deviceType) && receivedRangeCount_ == 0) {
        limits_.fill(Limits{kEarlyLower, kEarlyUpper});
    }
    switch (packet[head_wire::kKindOffset]) {
        case head_wire::kKindRangeCount:
            reportedRangeCount_ = packet[head_wire::kParameterOffset];
            break;
        case head_wire::kKindRangeDescription:
            TakeDescription(packet, effects);
            break;
        case head_wire::kKindFrame:
            if (packet[head_wire::kFrameBodyLength] == head_wire::kEscape &&
                packet[head_wire::kFrameBodyLength + 1] == head_wire::kEndMarker) {
                TakeFrame(packet, effects);
            } else {
                ++damagedPackets_;
            }
            break;
        default:
            break;
    }
}

void ImagerProtocol::TakeDescription(const PacketBuffer& packet, Effects& effects) {
    const std::uint8_t number = packet[head_wire::kParameterOffset];
    // A repeated answer; and a count that could grow no further would wrap around.
    if (number == 0 || number == receivedRangeCount_ || receivedRangeCount_ == 255) {
        return;
    }
    // A zero first byte is not part of the text; zeros further on are.
    std::size_t start = head_wire::kTextOffset;
    if (packet[start] == 0) {
        ++start;
    }
    const std::size_t end = head_wire::kTextOffset + head_wire::kTextLength;
    std::string text(reinterpret_cast<const char*>(packet.data() + start), end - start);

    if (HasSlot(number)) {
        Limits limits{kStandardLower, kStandardUpper};
        if (HasHighTemperatureMark(text)) {
            limits.upper = kHighTemperatureUpper;
        }
        const std::uint16_t lower =
            head_wire::ReadBigEndian16(&packet[head_wire::kLowerLimitOffset]);
        const std::uint16_t upper =
            head_wire::ReadBigEndian16(&packet[head_wire::kUpperLimitOffset]);
        const bool given = packet[head_wire::kLowerLimitOffset + 1] != 0;
        if (given && lower > 0 && upper < kHeadLimitCeiling && lower < upper &&
            upper <= kLargestStorableKelvin) {
            limits = Limits{static_cast<std::uint16_t>(lower * 10),
                            static_cast<std::uint16_t>(upper * 10)};
        }
        limits_[SlotOf(number)] = limits;
    }
    descriptions_.push_back(std::move(text));
    ++receivedRangeCount_;
    effects.rangeInformationChanged = true;
}

void ImagerProtocol::TakeFrame(const PacketBuffer& packet, Effects& effects) {
    const std::uint8_t range = packet[head_wire::kParameterOffset];
    if (range != currentRange_) {
        currentRange_ = range;
        effects.rangeInformationChanged = true;
    }
    const std::uint16_t serial = head_wire::ReadBigEndian16(&packet[head_wire::kSerialOffset]);
    if (serial != headSerialNumber_) {
        // A different head: its ranges are asked for as at start. The earlier head's
        // texts and limits would otherwise go on describing this one.
        if (headSerialNumber_ != 0) {
            effects.selectFirstRange = true;
            ForgetRanges();
            effects.rangeInformationChanged = true;
        }
        headSerialNumber_ = serial;
        reportedRangeCount_ = head_wire::kUnknownRange;
    }
    const std::uint8_t* pixels = &packet[head_wire::kPixelsOffset];
    for (std::size_t i = 0; i < latestFrame_.pixels.size(); ++i) {
        latestFrame_[i] = head_wire::ReadBigEndian16(pixels + 2 * i);
    }
    effects.edgesRepaired = EdgeRepairApplies();
    if (effects.edgesRepaired) {
        RepairEdges(latestFrame_);
    }
    effects.frameAccepted = true;
}

bool ImagerProtocol::EdgeRepairApplies() const {
    return IsEdgeRepairHead(deviceTypeCode_) &&
           HasHighTemperatureMark(DescriptionOf(currentRange_ - 1));
}

void ImagerProtocol::Announce(const Effects& effects) const {
    if (events_ == nullptr) {
        return;
    }
    if (effects.rangeInformationChanged) {
        events_->RangeInformationChanged();
    }
    if (effects.frameAccepted) {
        events_->SetEdgeRepaired(effects.edgesRepaired);
    }
}

ImagerProtocol::Limits ImagerProtocol::LimitsOf(int number) const {
    if (!HasSlot(number)) {
        return Limits{kStandardLower, kStandardUpper};
    }
    return limits_[SlotOf(number)];
}

std::string ImagerProtocol::DescriptionOf(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= descriptions_.size()) {
        return {};
    }
    return descriptions_[static_cast<std::size_t>(index)];
}

HeadRange ImagerProtocol::RangeOf(int number) const {
    const Limits limits = LimitsOf(number);
    HeadRange range;
    range.number = number >= 0 && number <= head_wire::kUnknownRange
                       ? static_cast<std::uint8_t>(number)
                       : head_wire::kUnknownRange;
    range.description = DescriptionOf(number - 1);
    range.lowerLimit = limits.lower;
    range.upperLimit = limits.upper;
    return range;
}

void ImagerProtocol::CopyFrame(ThermalFrame& destination) const {
    std::lock_guard lock(mutex_);
    destination = latestFrame_;
}

std::uint8_t ImagerProtocol::CurrentRangeNumber() const {
    std::lock_guard lock(mutex_);
    return currentRange_;
}

std::vector<std::string> ImagerProtocol::Descriptions() const {
    std::lock_guard lock(mutex_);
    return descriptions_;
}

std::string ImagerProtocol::Description(int index) const {
    std::lock_guard lock(mutex_);
    return DescriptionOf(index);
}

std::uint16_t ImagerProtocol::CurrentLowerLimit() const {
    std::lock_guard lock(mutex_);
    return LimitsOf(currentRange_).lower;
}

std::uint16_t ImagerProtocol::CurrentUpperLimit() const {
    std::lock_guard lock(mutex_);
    return LimitsOf(currentRange_).upper;
}

HeadRange ImagerProtocol::CurrentRange() const {
    std::lock_guard lock(mutex_);
    return RangeOf(currentRange_);
}

HeadRange ImagerProtocol::Range(int number) const {
    std::lock_guard lock(mutex_);
    return RangeOf(number);
}

std::uint16_t ImagerProtocol::HeadSerialNumber() const {
    std::lock_guard lock(mutex_);
    return headSerialNumber_;
}

std::uint8_t ImagerProtocol::DeviceTypeCode() const {
    std::lock_guard lock(mutex_);
    return deviceTypeCode_;
}

std::uint64_t ImagerProtocol::DamagedPackets() const {
    std::lock_guard lock(mutex_);
    return damagedPackets_;
}
