#include "headsim/simulated_head.h"

#include <utility>

#include "headsim/head_packets.h"
#include "link/head_wire.h"

SimulatedHead::SimulatedHead(SimulatedHeadConfig config)
    : config_(std::move(config)), currentRange_(config_.initialRange) {}

std::vector<std::uint8_t> SimulatedHead::Answer(std::span<const std::uint8_t> command) {
    if (command.size() < 2) {
        return {};
    }
    const std::uint8_t code = command[0];
    const std::uint8_t parameter = command[1];
    switch (code) {
        case head_wire::kCommandQueryRangeCount:
            return head_packets::Wrap(
                head_packets::RangeCountBody(config_.deviceType, RangeCount()));
        case head_wire::kCommandRequestDescription: {
            if (!IsOffered(parameter)) {
                return {};
            }
            const SimulatedRange& range = config_.ranges[parameter - 1u];
            return head_packets::Wrap(head_packets::RangeDescriptionBody(
                config_.deviceType, parameter, range.text, range.lowerKelvin, range.upperKelvin));
        }
        case head_wire::kCommandSelectRange:
            if (IsOffered(parameter)) {
                currentRange_ = parameter;
            }
            return {};
        default:
            return {};
    }
}

std::vector<std::uint8_t> SimulatedHead::FramePacket(const ThermalFrame& frame) const {
    return head_packets::Wrap(
        head_packets::FrameBody(config_.deviceType, currentRange_, config_.serialNumber, frame));
}

void SimulatedHead::Exchange(std::uint16_t serialNumber, std::vector<SimulatedRange> ranges) {
    config_.serialNumber = serialNumber;
    config_.ranges = std::move(ranges);
    currentRange_ = config_.initialRange;
}
