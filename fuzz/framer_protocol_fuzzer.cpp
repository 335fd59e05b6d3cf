// Arbitrary line bytes through the reader thread's path (framer, mailbox) into the
// protocol decoder, each step compared with the plain models of head_model.h.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "fuzz_check.h"
#include "head_model.h"
#include "headsim/head_packets.h"
#include "link/head_event_sink.h"
#include "link/imager_protocol.h"
#include "link/packet_framer.h"
#include "link/packet_mailbox.h"

namespace {

class EdgeRecorder : public HeadEventSink {
  public:
    void RangeInformationChanged() override {}
    void HeadPresenceChanged() override {}
    void SetEdgeRepaired(bool repaired) override { told = repaired; }
    std::optional<bool> told;
};

// The pieces under test; the only lines that touch their construction.
struct Link {
    PacketFramer framer;
    PacketMailbox mailbox;
    EdgeRecorder edges;
    ImagerProtocol protocol{&edges};
};

struct Model {
    head_model::Framer framer{PacketFramer::kMaxDataBytes};
    head_model::Mailbox mailbox;
    head_model::Protocol protocol;
};

void CheckPacket(std::span<const std::uint8_t> packet, const head_model::Bytes& expected) {
    FUZZ_CHECK(packet.size() >= 2 && packet.size() <= kPacketCapacity);
    FUZZ_CHECK(packet[packet.size() - 2] == 0xAA && packet.back() == 0xCC);
    FUZZ_CHECK(std::equal(packet.begin(), packet.end(), expected.begin(), expected.end()));
    // The data, escaped again as a head sends it, frames back into the same packet.
    PacketFramer again;
    int closed = 0;
    for (std::uint8_t byte : head_packets::Wrap(packet.first(packet.size() - 2))) {
        closed += again.Feed(byte) ? 1 : 0;
    }
    FUZZ_CHECK(closed == 1);
    FUZZ_CHECK(std::ranges::equal(again.Packet(), packet));
}

void CheckRanges(const ImagerProtocol& protocol, const head_model::Protocol& model) {
    for (int number = 0; number <= 8; ++number) {
        const HeadRange range = protocol.Range(number);
        const head_model::Limits limits = model.LimitsOf(number);
        FUZZ_CHECK(range.lowerLimit == limits.lower && range.upperLimit == limits.upper);
        FUZZ_CHECK(range.lowerLimit < range.upperLimit);
    }
    const head_model::Limits current = model.LimitsOf(model.range);
    FUZZ_CHECK(protocol.CurrentLowerLimit() == current.lower);
    FUZZ_CHECK(protocol.CurrentUpperLimit() == current.upper);
}

void CheckProtocol(const Link& link, const Model& model, ImagerProtocol::DecodeResult result) {
    const ImagerProtocol& protocol = link.protocol;
    FUZZ_CHECK(result.frameAccepted == model.protocol.frameAccepted);
    FUZZ_CHECK(result.selectFirstRange == model.protocol.selectFirstRange);
    FUZZ_CHECK(protocol.DeviceTypeCode() == model.protocol.deviceType);
    FUZZ_CHECK(protocol.HeadSerialNumber() == model.protocol.serial);
    FUZZ_CHECK(protocol.CurrentRangeNumber() == model.protocol.range);
    // The newest description as the model has it; the whole list is compared at the end.
    const auto& expected = model.protocol.descriptions;
    FUZZ_CHECK(protocol.Description(static_cast<int>(expected.size())).empty());
    FUZZ_CHECK(expected.empty() ||
               protocol.Description(static_cast<int>(expected.size()) - 1) == expected.back());
    CheckRanges(protocol, model.protocol);
    ThermalFrame frame;
    protocol.CopyFrame(frame);
    FUZZ_CHECK(frame.pixels.size() == 256 && frame.pixels == model.protocol.frame);
    if (result.frameAccepted) {
        FUZZ_CHECK(link.edges.told == model.protocol.edgesRepaired);
    }
}

// At most 255 descriptions of 57 or 58 characters: no state grows without bound.
void CheckDescriptions(const ImagerProtocol& protocol, const head_model::Protocol& model) {
    const auto descriptions = protocol.Descriptions();
    FUZZ_CHECK(descriptions == model.descriptions);
    FUZZ_CHECK(descriptions.size() <= 255);
    for (const auto& text : descriptions) {
        FUZZ_CHECK(text.size() == 57 || text.size() == 58);
    }
}

void CheckOutstanding(const ImagerProtocol& protocol, const head_model::Protocol& model) {
    const auto received = model.descriptions.size();
    std::optional<HeadCommand> expected;
    if (model.reported == 255) {
        expected = HeadCommand::QueryRangeCount();
    } else if (model.reported != received) {
        expected = HeadCommand::RequestDescription(static_cast<std::uint8_t>(received + 1));
    }
    FUZZ_CHECK(protocol.OutstandingCommand() == expected);
}

// One poll of the acquisition thread: what the mailbox hands over is decoded.
void Poll(Link& link, Model& model) {
    PacketBuffer packet{};
    const auto expected = model.mailbox.Take();
    FUZZ_CHECK(link.mailbox.Take(packet) == expected.has_value());
    if (!expected) {
        return;
    }
    FUZZ_CHECK(std::equal(expected->begin(), expected->end(), packet.begin()));
    FUZZ_CHECK(std::all_of(packet.begin() + static_cast<std::ptrdiff_t>(expected->size()),
                           packet.end(), [](std::uint8_t b) { return b == 0; }));
    link.edges.told.reset();
    const auto result = link.protocol.Decode(packet);
    model.protocol.Decode(packet);
    CheckProtocol(link, model, result);
    CheckOutstanding(link.protocol, model.protocol);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Link link;
    Model model;
    // The first byte sets how many packets arrive between two polls (1 to 4).
    const std::size_t packetsPerPoll = size > 0 ? data[0] % 4 + 1 : 1;
    std::size_t closed = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const bool closes = link.framer.Feed(data[i]);
        const auto expected = model.framer.Feed(data[i]);
        FUZZ_CHECK(closes == expected.has_value());
        if (!closes) {
            continue;
        }
        CheckPacket(link.framer.Packet(), *expected);
        link.mailbox.Put(link.framer.Packet());
        model.mailbox.Put(*expected);
        if (++closed % packetsPerPoll == 0) {
            Poll(link, model);
        }
    }
    Poll(link, model);
    Poll(link, model);
    Poll(link, model);
    CheckDescriptions(link.protocol, model.protocol);
    return 0;
}
