#include "link/imager_link.h"

#include "link/head_event_sink.h"
#include "platform/device_root.h"

namespace {

constexpr int kComPort = 1;
constexpr int kBaudRate = 115200;
constexpr int kDataBits = 8;

}  // namespace

ImagerLink::ImagerLink(HeadEventSink* events) : events_(events), protocol_(events) {}

ImagerLink::~ImagerLink() {
    Close();
}

bool ImagerLink::Open() {
    return Open(device_root::ComPort(kComPort));
}

bool ImagerLink::Open(const std::filesystem::path& device) {
    if (port_.IsOpen()) {
        return false;
    }
    const bool opened =
        port_.Open(device, kBaudRate, serial_code::kNoParity, kDataBits, serial_code::kOneStopBit);
    watch_.OpenAttempted(HeadWatch::Clock::now(), opened);
    return opened;
}

void ImagerLink::Close() {
    port_.Close();
}

int ImagerLink::Poll() {
    const auto now = HeadWatch::Clock::now();
    KeepPortOpen(now);
    if (const auto query = protocol_.OutstandingCommand()) {
        Send(*query);
    }
    const bool fetched = port_.FetchPacket(packet_);
    if (fetched) {
        watch_.PacketArrived(now);
    }
    ReportPresence(now);
    if (!fetched) {
        return 0;
    }
    const auto result = protocol_.Decode(packet_);
    if (result.selectFirstRange) {
        Send(HeadCommand::SelectRange(1));
    }
    if (!result.frameAccepted) {
        return 0;
    }
    framesTaken_.fetch_add(1);
    lastFrameTicks_.store(now.time_since_epoch().count());
    return 1;
}

void ImagerLink::KeepPortOpen(HeadWatch::Clock::time_point now) {
    if (port_.DeviceLost() && port_.IsOpen()) {
        port_.Close();
        watch_.PortLost();
    }
    if (!watch_.ReopenDue(now)) {
        return;
    }
    const bool opened = port_.Reopen();
    watch_.OpenAttempted(now, opened);
    if (opened) {
        reconnections_.fetch_add(1);
        protocol_.AskForRanges();
    }
}

void ImagerLink::ReportPresence(HeadWatch::Clock::time_point now) {
    const bool absent = watch_.HeadAbsent(now);
    if (headAbsent_.exchange(absent) != absent && events_ != nullptr) {
        events_->HeadPresenceChanged();
    }
}

void ImagerLink::SelectRange(int range) {
    Send(HeadCommand::SelectRange(static_cast<std::uint8_t>(range)));
}

void ImagerLink::Send(const HeadCommand& command) {
    // A failed write is not reported: the query is repeated at the next poll anyway.
    const auto bytes = command.Bytes();
    port_.Write(bytes.data(), static_cast<int>(bytes.size()));
}

void ImagerLink::CopyFrame(ThermalFrame& destination) const {
    protocol_.CopyFrame(destination);
}

std::uint8_t ImagerLink::CurrentRangeNumber() const {
    return protocol_.CurrentRangeNumber();
}

std::vector<std::string> ImagerLink::Descriptions() const {
    return protocol_.Descriptions();
}

std::string ImagerLink::Description(int index) const {
    return protocol_.Description(index);
}

std::uint16_t ImagerLink::CurrentLowerLimit() const {
    return protocol_.CurrentLowerLimit();
}

std::uint16_t ImagerLink::CurrentUpperLimit() const {
    return protocol_.CurrentUpperLimit();
}

std::uint16_t ImagerLink::HeadSerialNumber() const {
    return protocol_.HeadSerialNumber();
}

HeadRange ImagerLink::CurrentRange() const {
    return protocol_.CurrentRange();
}

std::uint8_t ImagerLink::DeviceTypeCode() const {
    return protocol_.DeviceTypeCode();
}

bool ImagerLink::PortOpen() const {
    return port_.IsOpen();
}

LinkHealth ImagerLink::Health() const {
    LinkHealth health;
    const auto frames = port_.FramePacketCounts();
    health.framesReceived = frames.received;
    health.framesDropped = frames.replaced;
    health.framesTaken = framesTaken_.load();
    health.packetsDamaged = protocol_.DamagedPackets();
    health.reconnections = reconnections_.load();
    if (const auto ticks = lastFrameTicks_.load(); ticks != 0) {
        health.lastFrame = HeadWatch::Clock::time_point(HeadWatch::Clock::duration(ticks));
    }
    return health;
}
