#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "headsim/head_options.h"
#include "headsim/head_packets.h"
#include "headsim/simulated_head.h"
#include "headsim/synthetic_scene.h"
#include "link/imager_protocol.h"
#include "link/packet_framer.h"
#include "link_test_support.h"

namespace {

using link_test::Bytes;

bool Parse(std::vector<std::string> arguments, HeadOptions& options, std::string& error) {
    return ParseHeadOptions(arguments, options, error);
}

// What a framer makes of the bytes a head puts on the line.
std::vector<Bytes> Framed(const Bytes& line) {
    PacketFramer framer;
    std::vector<Bytes> packets;
    for (std::uint8_t byte : line) {
        if (framer.Feed(byte)) {
            packets.emplace_back(framer.Packet().begin(), framer.Packet().end());
        }
    }
    return packets;
}

PacketBuffer HandedOver(const Bytes& line) {
    const auto packets = Framed(line);
    EXPECT_EQ(packets.size(), 1u);
    PacketBuffer packet{};
    if (!packets.empty()) {
        std::copy(packets[0].begin(), packets[0].end(), packet.begin());
    }
    return packet;
}

TEST(HeadOptionsTest, DefaultsPlayAThreeRangeHead) {
    HeadOptions options;
    std::string error;
    ASSERT_TRUE(Parse({}, options, error)) << error;
    EXPECT_EQ(options.head.deviceType, 71);
    EXPECT_EQ(options.head.serialNumber, 0x1234);
    EXPECT_EQ(options.head.initialRange, 1);
    EXPECT_EQ(options.head.ranges, DefaultSimulatedRanges());
    EXPECT_EQ(options.head.ranges.size(), 3u);
    EXPECT_EQ(options.head.ranges[2].text[20], 'H');
    EXPECT_DOUBLE_EQ(options.framesPerSecond, 8.0);
    EXPECT_FALSE(options.linkPath || options.linkDeviceRoot || options.serialChange);
}

TEST(HeadOptionsTest, RangesLimitsAndTheRest) {
    HeadOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--range",
                       "cold",
                       "--limits",
                       "250:300",
                       "--range",
                       "hot",
                       "--high",
                       "--ranges",
                       "4",
                       "--device-type",
                       "96",
                       "--serial",
                       "0x10",
                       "--new-serial-after",
                       "2.5",
                       "17",
                       "--rate",
                       "20",
                       "--garbage",
                       "3",
                       "--link",
                       "/tmp/x",
                       "--initial-range",
                       "2",
                       "--seed",
                       "9",
                       "--warming",
                       "-1.5",
                       "--verbose"},
                      options, error))
        << error;
    ASSERT_EQ(options.head.ranges.size(), 4u);
    EXPECT_EQ(options.head.ranges[0], (SimulatedRange{"cold", 250, 300}));
    EXPECT_EQ(options.head.ranges[1].text, "hot" + std::string(17, ' ') + "H");
    EXPECT_EQ(options.head.ranges[3].text, "Range 4");
    EXPECT_EQ(options.head.deviceType, 96);
    EXPECT_EQ(options.head.serialNumber, 16);
    EXPECT_EQ(options.head.initialRange, 2);
    ASSERT_TRUE(options.serialChange);
    EXPECT_DOUBLE_EQ(options.serialChange->afterSeconds, 2.5);
    EXPECT_EQ(options.serialChange->serialNumber, 17);
    EXPECT_EQ(options.linkPath, "/tmp/x");
    EXPECT_EQ(options.seed, 9u);
    EXPECT_DOUBLE_EQ(options.warmingKelvinPerMinute, -1.5);
    EXPECT_TRUE(options.verbose);

    ASSERT_TRUE(Parse({"--no-limits", "--ranges", "1"}, options, error)) << error;
    EXPECT_EQ(options.head.ranges, (std::vector<SimulatedRange>{{"-20 ... 100 C", 0, 0}}));
}

// The range options after --exchange-after describe the second head only; without any,
// it offers the first head's ranges.
TEST(HeadOptionsTest, ExchangeGivesTheSecondHeadItsOwnRanges) {
    HeadOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--ranges", "1", "--exchange-after", "3", "0x2222", "--range", "0 ... 500 C",
                       "--limits", "273:773"},
                      options, error))
        << error;
    EXPECT_EQ(options.head.ranges, (std::vector<SimulatedRange>{{"-20 ... 100 C", 253, 373}}));
    ASSERT_TRUE(options.serialChange && options.serialChange->ranges);
    EXPECT_EQ(options.serialChange->serialNumber, 0x2222);
    EXPECT_EQ(*options.serialChange->ranges,
              (std::vector<SimulatedRange>{{"0 ... 500 C", 273, 773}}));

    ASSERT_TRUE(Parse({"--range", "a", "--exchange-after", "1", "5"}, options, error)) << error;
    EXPECT_EQ(*options.serialChange->ranges, options.head.ranges);

    SimulatedHead head(options.head);
    head.Exchange(5, {{"b", 0, 0}, {"c", 0, 0}});
    EXPECT_EQ(head.SerialNumber(), 5);
    EXPECT_EQ(head.RangeCount(), 2);
}

TEST(HeadOptionsTest, LineRateAndRepeatedHeadChanges) {
    HeadOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--rate", "max", "--new-serial-every", "0.5"}, options, error)) << error;
    EXPECT_TRUE(options.lineRate);
    EXPECT_EQ(options.serialChangeEvery, 0.5);
    EXPECT_FALSE(options.serialChange);
    // The last --rate wins.
    ASSERT_TRUE(Parse({"--rate", "max", "--rate", "20"}, options, error)) << error;
    EXPECT_FALSE(options.lineRate);
    EXPECT_DOUBLE_EQ(options.framesPerSecond, 20.0);
    EXPECT_FALSE(options.serialChangeEvery);
}

TEST(HeadOptionsTest, MistakesAreReported) {
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"--bogus"},
             {"--serial"},
             {"--serial", "70000"},
             {"--serial", "-1"},
             {"--rate", "0"},
             {"--garbage", "x"},
             {"--garbage", "nan"},
             {"--rate", "nan"},
             {"--warming", "nan"},
             {"--warming", "101"},
             {"--high"},
             {"--range", "a", "--limits", "300"},
             {"--range", std::string(59, 'x')},
             {"--initial-range", "0"},
             {"--link", "a", "--device-root"},
             {"--new-serial-after", "1"},
             {"--exchange-after", "1", "2", "--new-serial-after", "1", "3"},
             {"--new-serial-every", "0"},
             {"--rate", "maximum"}}) {
        HeadOptions options;
        std::string error;
        EXPECT_FALSE(Parse(wrong, options, error)) << wrong[0];
        EXPECT_FALSE(error.empty()) << wrong[0];
    }
    EXPECT_NE(HeadOptionsHelp().find("--new-serial-after SECONDS N"), std::string::npos);
}

TEST(HeadPacketsTest, EscapesEveryEscapeByteOnTheLine) {
    EXPECT_EQ(head_packets::Wrap(Bytes{0x01, 0xAA, 0xBB, 0xAA}),
              (Bytes{0xAA, 0xBB, 0x01, 0xAA, 0xAA, 0xBB, 0xAA, 0xAA, 0xAA, 0xCC}));
    EXPECT_EQ(head_packets::FrameBody(71, 1, 2, ThermalFrame{}).size(), 521u);
    EXPECT_EQ(head_packets::RangeDescriptionBody(71, 1, "x", 1, 2).size(), 65u);
}

TEST(SimulatedHeadTest, AnswersQueriesAndFollowsRangeSelection) {
    SimulatedHeadConfig config;
    config.deviceType = 21;
    config.ranges = {{"low", 250, 300}, {"high", 0, 0}};
    config.serialNumber = 0xAAAA;
    SimulatedHead head(config);

    EXPECT_EQ(Framed(head.Answer(link_test::QueryCommand())),
              (std::vector<Bytes>{{21, 18, 2, 0xAA, 0xCC}}));
    const auto description = HandedOver(head.Answer(link_test::RequestCommand(1)));
    EXPECT_EQ(description[1], 19);
    EXPECT_EQ(description[2], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&description[3]), 4),
              std::string("low\0", 4));
    EXPECT_EQ(description[61] * 256 + description[62], 250);
    EXPECT_EQ(description[63] * 256 + description[64], 300);
    EXPECT_TRUE(head.Answer(link_test::RequestCommand(3)).empty());
    EXPECT_TRUE(head.Answer(link_test::RequestCommand(0)).empty());

    EXPECT_TRUE(head.Answer(link_test::SelectCommand(2)).empty());
    EXPECT_EQ(head.CurrentRange(), 2);
    head.Answer(link_test::SelectCommand(7));  // not offered: ignored
    EXPECT_EQ(head.CurrentRange(), 2);
}

TEST(SimulatedHeadTest, FramesDecodeExactlyThroughTheRealDecoder) {
    SimulatedHeadConfig config;
    config.serialNumber = 0xAAAA;
    config.initialRange = 2;
    SimulatedHead head(config);
    SyntheticScene scene(3);
    ImagerProtocol protocol(nullptr);
    for (double seconds : {0.0, 0.5, 7.25}) {
        ThermalFrame sent = scene.Render(seconds);
        sent[17] = 0x0AAA;
        ASSERT_TRUE(protocol.Decode(HandedOver(head.FramePacket(sent))).frameAccepted);
        ThermalFrame decoded;
        protocol.CopyFrame(decoded);
        EXPECT_EQ(decoded, sent);
    }
    EXPECT_EQ(protocol.HeadSerialNumber(), 0xAAAA);
    EXPECT_EQ(protocol.CurrentRangeNumber(), 2);
}

TEST(SyntheticSceneTest, AWarmObjectDriftsOverRoomTemperature) {
    SyntheticScene scene(5);
    auto warmest = [](const ThermalFrame& frame) {
        return std::max_element(frame.pixels.begin(), frame.pixels.end()) - frame.pixels.begin();
    };
    const ThermalFrame early = scene.Render(0.0);
    const ThermalFrame later = scene.Render(4.0);
    for (const ThermalFrame* frame : {&early, &later}) {
        const auto [low, high] = std::minmax_element(frame->pixels.begin(), frame->pixels.end());
        EXPECT_GT(*low, 2930);
        EXPECT_LT(*low, 2970);
        EXPECT_GT(*high, 3050);
        EXPECT_LT(*high, 3120);
    }
    EXPECT_NE(warmest(early), warmest(later));
}

// A warming object rises by its rate and nothing else changes: the same seed gives the
// same noise, so the difference from a steady scene is the object's added warmth alone.
TEST(SyntheticSceneTest, AWarmingObjectRisesByItsRate) {
    SyntheticScene steady(5);
    SyntheticScene warming(5, 6.0);  // 6 K a minute: 60 tenths after a minute
    auto largestRise = [&](double seconds) {
        const ThermalFrame base = steady.Render(seconds);
        const ThermalFrame risen = warming.Render(seconds);
        int largest = 0;
        for (std::size_t i = 0; i < base.pixels.size(); ++i) {
            const int rise = risen.pixels[i] - base.pixels[i];
            EXPECT_GE(rise, 0) << i;
            largest = std::max(largest, rise);
        }
        return largest;
    };
    EXPECT_EQ(largestRise(0.0), 0);
    const int afterAMinute = largestRise(60.0);
    EXPECT_GE(afterAMinute, 55);
    EXPECT_LE(afterAMinute, 61);
}

}  // namespace
