#include "headsim/head_packets.h"

#include <algorithm>

#include "link/head_wire.h"

namespace head_packets {

namespace {

void AppendBigEndian16(std::vector<std::uint8_t>& body, std::uint16_t value) {
    body.push_back(static_cast<std::uint8_t>(value >> 8));
    body.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

std::vector<std::uint8_t> Header(std::uint8_t deviceType, std::uint8_t kind, std::uint8_t parameter,
                                 std::size_t bodyLength) {
    std::vector<std::uint8_t> body;
    body.reserve(bodyLength);
    body.push_back(deviceType);
    body.push_back(kind);
    body.push_back(parameter);
    return body;
}

}  // namespace

std::vector<std::uint8_t> Wrap(std::span<const std::uint8_t> body) {
    std::vector<std::uint8_t> packet{head_wire::kEscape, head_wire::kStartMarker};
    packet.reserve(body.size() + body.size() / 64 + 4);
    for (std::uint8_t byte : body) {
        packet.push_back(byte);
        if (byte == head_wire::kEscape) {
            packet.push_back(byte);
        }
    }
    packet.push_back(head_wire::kEscape);
    packet.push_back(head_wire::kEndMarker);
    return packet;
}

std::vector<std::uint8_t> FrameBody(std::uint8_t deviceType, std::uint8_t range,
                                    std::uint16_t serialNumber, const ThermalFrame& frame) {
    auto body = Header(deviceType, head_wire::kKindFrame, range, head_wire::kFrameBodyLength);
    AppendBigEndian16(body, serialNumber);
    for (std::uint16_t pixel : frame.pixels) {
        AppendBigEndian16(body, pixel);
    }
    body.resize(head_wire::kFrameBodyLength, 0);
    return body;
}

std::vector<std::uint8_t> RangeCountBody(std::uint8_t deviceType, std::uint8_t count) {
    return Header(deviceType, head_wire::kKindRangeCount, count, 3);
}

std::vector<std::uint8_t> RangeDescriptionBody(std::uint8_t deviceType, std::uint8_t range,
                                               const std::string& text, std::uint16_t lowerKelvin,
                                               std::uint16_t upperKelvin) {
    auto body = Header(deviceType, head_wire::kKindRangeDescription, range,
                       head_wire::kDescriptionBodyLength);
    body.resize(head_wire::kLowerLimitOffset, 0);
    const std::size_t kept = std::min(text.size(), head_wire::kTextLength);
    std::copy_n(text.begin(), kept, body.begin() + head_wire::kTextOffset);
    AppendBigEndian16(body, lowerKelvin);
    AppendBigEndian16(body, upperKelvin);
    return body;
}

}  // namespace head_packets
