#include "link/imager_protocol.h"

#include <gtest/gtest.h>

#include <numeric>

#include "headsim/head_packets.h"
#include "link/packet_framer.h"
#include "link_test_support.h"

namespace {

using link_test::Bytes;
using link_test::Handed;

constexpr std::uint8_t kType = 71;

PacketBuffer RangeCount(std::uint8_t count, std::uint8_t type = kType) {
    return Handed(head_packets::RangeCountBody(type, count));
}

PacketBuffer Description(std::uint8_t range, const std::string& text, std::uint16_t lower = 0,
                         std::uint16_t upper = 0, std::uint8_t type = kType) {
    return Handed(head_packets::RangeDescriptionBody(type, range, text, lower, upper));
}

PacketBuffer Frame(std::uint8_t range, std::uint16_t serial, const ThermalFrame& frame,
                   std::uint8_t type = kType) {
    return Handed(head_packets::FrameBody(type, range, serial, frame));
}

ThermalFrame Counting() {
    ThermalFrame frame;
    std::iota(frame.pixels.begin(), frame.pixels.end(), std::uint16_t{1000});
    return frame;
}

std::string HighText() {
    return "200 ... 1000 C      H";
}

class ImagerProtocolTest : public ::testing::Test {
  protected:
    std::size_t RangeHints() const { return static_cast<std::size_t>(events_.RangeChanges()); }
    // Count, then every description, as a head answers the queries.
    void CompleteRanges(const std::vector<std::string>& texts) {
        protocol_.Decode(RangeCount(static_cast<std::uint8_t>(texts.size())));
        for (std::size_t i = 0; i < texts.size(); ++i) {
            protocol_.Decode(Description(static_cast<std::uint8_t>(i + 1), texts[i]));
        }
    }

    link_test::RecordingHeadEvents events_;
    ImagerProtocol protocol_{&events_};
};

TEST_F(ImagerProtocolTest, StartsWithNothingKnown) {
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::QueryRangeCount());
    EXPECT_EQ(protocol_.CurrentRangeNumber(), 255);
    EXPECT_EQ(protocol_.CurrentLowerLimit(), 2630);
    EXPECT_EQ(protocol_.CurrentUpperLimit(), 5730);
    EXPECT_EQ(protocol_.HeadSerialNumber(), 0);
    EXPECT_EQ(protocol_.DeviceTypeCode(), 0);
    EXPECT_TRUE(protocol_.Descriptions().empty());
    EXPECT_EQ(protocol_.Description(0), "");
    for (int range = 1; range <= 6; ++range) {
        EXPECT_EQ(protocol_.Range(range).lowerLimit, 2630);
        EXPECT_EQ(protocol_.Range(range).upperLimit, 12730);
    }
    ThermalFrame frame = ThermalFrame::Filled(5);
    protocol_.CopyFrame(frame);
    EXPECT_EQ(frame, ThermalFrame{});
}

TEST_F(ImagerProtocolTest, QueriesCountThenEachDescriptionInTurn) {
    protocol_.Decode(RangeCount(2));
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::RequestDescription(1));
    protocol_.Decode(Description(1, "first"));
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::RequestDescription(2));
    protocol_.Decode(Description(2, "second"));
    EXPECT_EQ(protocol_.OutstandingCommand(), std::nullopt);
    const auto list = protocol_.Descriptions();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].substr(0, 6), std::string("first\0", 6));
    EXPECT_EQ(list[1].size(), 58u);
    EXPECT_EQ(RangeHints(), 2u);
}

TEST_F(ImagerProtocolTest, RepeatedOrZeroDescriptionIsIgnored) {
    protocol_.Decode(RangeCount(3));
    protocol_.Decode(Description(1, "one"));
    protocol_.Decode(Description(1, "one again"));
    protocol_.Decode(Description(0, "zero"));
    EXPECT_EQ(protocol_.Descriptions().size(), 1u);
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::RequestDescription(2));
    EXPECT_EQ(RangeHints(), 1u);
}

TEST_F(ImagerProtocolTest, UnknownDeviceTypeAndKindChangeNothing) {
    protocol_.Decode(RangeCount(2, 5));
    EXPECT_EQ(protocol_.DeviceTypeCode(), 0);
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::QueryRangeCount());
    protocol_.Decode(Handed({97, 42, 1, 2, 3}));
    EXPECT_EQ(protocol_.DeviceTypeCode(), 97);  // recorded, kind ignored
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::QueryRangeCount());
    EXPECT_EQ(events_.RangeChanges(), 0);
    // Only the unknown device type counts as damaged; an unknown kind is not.
    EXPECT_EQ(protocol_.DamagedPackets(), 1u);
}

TEST_F(ImagerProtocolTest, DescriptionTextKeepsZerosAndSkipsALeadingZero) {
    std::string text("ab\0cd", 5);
    protocol_.Decode(RangeCount(2));
    protocol_.Decode(Description(1, text));
    EXPECT_EQ(protocol_.Description(0), text + std::string(53, '\0'));

    // Text starting with a zero byte: 57 characters, the mark read one byte further on.
    Bytes body = head_packets::RangeDescriptionBody(kType, 2, "", 0, 0);
    body[24] = 'h';
    body[23] = 'X';
    protocol_.Decode(Handed(body));
    const std::string second = protocol_.Description(1);
    EXPECT_EQ(second.size(), 57u);
    EXPECT_EQ(second[20], 'h');
    EXPECT_EQ(protocol_.Range(2).upperLimit, 12730);
}

TEST_F(ImagerProtocolTest, LimitsComeFromTheMarkUnlessTheHeadGivesUsableOnes) {
    struct Case {
        std::string text;
        std::uint16_t lower, upper;
        std::uint16_t expectedLower, expectedUpper;
    };
    const std::vector<Case> cases{
        {"plain", 0, 0, 2630, 5730},
        {HighText(), 0, 0, 2630, 12730},
        {"lower case mark     h", 0, 0, 2630, 12730},
        {"plain", 263, 1273, 2630, 12730},    // head limits win over the text
        {HighText(), 253, 373, 2530, 3730},   // in both directions
        {HighText(), 256, 373, 2630, 12730},  // low byte of L zero: not given
    };
    protocol_.Decode(RangeCount(static_cast<std::uint8_t>(cases.size())));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        const auto range = static_cast<std::uint8_t>(i + 1);
        protocol_.Decode(Description(range, c.text, c.lower, c.upper));
        EXPECT_EQ(protocol_.Range(range).lowerLimit, c.expectedLower) << "case " << i;
        EXPECT_EQ(protocol_.Range(range).upperLimit, c.expectedUpper) << "case " << i;
    }
}

TEST_F(ImagerProtocolTest, HeadLimitsOutOfBoundsAreNotUsed) {
    // U too high, L not below U, U * 10 beyond 16 bits, and the largest that fits.
    struct Case {
        std::uint16_t lower, upper, expectedLower, expectedUpper;
    };
    for (const Case& c : {Case{300, 32730, 2630, 5730}, Case{400, 400, 2630, 5730},
                          Case{300, 6554, 2630, 5730}, Case{300, 6553, 3000, 65530}}) {
        ImagerProtocol protocol(nullptr);
        protocol.Decode(RangeCount(1));
        protocol.Decode(Description(1, "plain", c.lower, c.upper));
        protocol.Decode(Frame(1, 1, ThermalFrame{}));
        EXPECT_EQ(protocol.CurrentLowerLimit(), c.expectedLower) << c.lower << ':' << c.upper;
        EXPECT_EQ(protocol.CurrentUpperLimit(), c.expectedUpper) << c.lower << ':' << c.upper;
    }
}

TEST_F(ImagerProtocolTest, RangesWithoutASlotAreListedButNeverTouchTheTables) {
    protocol_.Decode(RangeCount(8));
    for (std::uint8_t range = 1; range <= 8; ++range) {
        protocol_.Decode(Description(range, "r" + std::to_string(range), 300, 400));
    }
    EXPECT_EQ(protocol_.Descriptions().size(), 8u);
    EXPECT_EQ(protocol_.OutstandingCommand(), std::nullopt);
    EXPECT_EQ(protocol_.Range(6).lowerLimit, 3000);

    protocol_.Decode(Frame(7, 9, ThermalFrame{}));
    EXPECT_EQ(protocol_.CurrentRangeNumber(), 7);
    EXPECT_EQ(protocol_.CurrentLowerLimit(), 2630);
    EXPECT_EQ(protocol_.CurrentUpperLimit(), 5730);
    EXPECT_EQ(protocol_.CurrentRange().description.substr(0, 2), "r7");

    protocol_.Decode(Frame(0, 9, ThermalFrame{}));
    EXPECT_EQ(protocol_.CurrentLowerLimit(), 2630);
    EXPECT_EQ(protocol_.CurrentRange().description, "");
}

TEST_F(ImagerProtocolTest, FrameDecodesEveryPixelBigEndian) {
    ThermalFrame sent = Counting();
    sent[0] = 2730;  // 0x0AAA: the head doubles its escape byte on the line
    sent[255] = 0xAAAA;
    const auto result = protocol_.Decode(Frame(2, 0x1234, sent));
    EXPECT_TRUE(result.frameAccepted);
    EXPECT_FALSE(result.selectFirstRange);
    ThermalFrame decoded;
    protocol_.CopyFrame(decoded);
    EXPECT_EQ(decoded, sent);
    EXPECT_EQ(protocol_.HeadSerialNumber(), 0x1234);
    EXPECT_EQ(protocol_.CurrentRangeNumber(), 2);
    EXPECT_EQ(events_.Calls(), std::vector<bool>{false});
}

TEST_F(ImagerProtocolTest, FrameOfTheWrongLengthIsIgnored) {
    for (const std::size_t length : {520u, 522u}) {
        Bytes body = head_packets::FrameBody(kType, 1, 5, Counting());
        body.resize(length, 0x01);
        EXPECT_FALSE(protocol_.Decode(Handed(body)).frameAccepted) << length;
    }
    ThermalFrame decoded = ThermalFrame::Filled(1);
    protocol_.CopyFrame(decoded);
    EXPECT_EQ(decoded, ThermalFrame{});
    EXPECT_EQ(protocol_.HeadSerialNumber(), 0);
    EXPECT_TRUE(events_.Calls().empty());
    EXPECT_EQ(protocol_.DamagedPackets(), 2u);
}

TEST_F(ImagerProtocolTest, RangeChangeInFramesIsAnnouncedOnce) {
    protocol_.Decode(Frame(1, 7, ThermalFrame{}));
    protocol_.Decode(Frame(1, 7, ThermalFrame{}));
    EXPECT_EQ(RangeHints(), 1u);
    protocol_.Decode(Frame(3, 7, ThermalFrame{}));
    EXPECT_EQ(RangeHints(), 2u);
    EXPECT_EQ(protocol_.CurrentRangeNumber(), 3);
}

TEST_F(ImagerProtocolTest, NewSerialNumberSelectsRangeOneAndAsksAgain) {
    CompleteRanges({"a", "b"});
    ASSERT_EQ(protocol_.OutstandingCommand(), std::nullopt);

    // The first serial number of the run is only stored, but the count is asked again.
    EXPECT_FALSE(protocol_.Decode(Frame(2, 0x1234, ThermalFrame{})).selectFirstRange);
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::QueryRangeCount());
    protocol_.Decode(RangeCount(2));
    EXPECT_EQ(protocol_.OutstandingCommand(), std::nullopt);
    EXPECT_EQ(protocol_.Descriptions().size(), 2u);  // the first serial forgets nothing
    EXPECT_FALSE(protocol_.Decode(Frame(2, 0x1234, ThermalFrame{})).selectFirstRange);

    const auto result = protocol_.Decode(Frame(2, 0x1235, ThermalFrame{}));
    EXPECT_TRUE(result.selectFirstRange);
    EXPECT_TRUE(result.frameAccepted);
    EXPECT_EQ(protocol_.HeadSerialNumber(), 0x1235);
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::QueryRangeCount());
}

// Another head with as many ranges but other texts and limits: after the exchange only
// the new head's ranges are known, and the same serial number again changes nothing.
TEST_F(ImagerProtocolTest, ExchangedHeadWithAsManyRangesBringsItsOwnRanges) {
    protocol_.Decode(Frame(1, 0x1234, ThermalFrame{}));
    protocol_.Decode(RangeCount(1));
    protocol_.Decode(Description(1, "-20 ... 100 C", 253, 373));
    ASSERT_EQ(protocol_.CurrentLowerLimit(), 2530);
    const auto hintsBefore = RangeHints();

    protocol_.Decode(Frame(1, 0x2222, ThermalFrame{}));
    EXPECT_GT(RangeHints(), hintsBefore);
    EXPECT_TRUE(protocol_.Descriptions().empty());
    EXPECT_EQ(protocol_.CurrentRange().upperLimit, 12730);  // start limits until told
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::QueryRangeCount());
    protocol_.Decode(RangeCount(1));
    EXPECT_EQ(protocol_.OutstandingCommand(), HeadCommand::RequestDescription(1));
    protocol_.Decode(Description(1, "0 ... 500 C", 273, 773));
    EXPECT_EQ(protocol_.OutstandingCommand(), std::nullopt);

    const HeadRange range = protocol_.CurrentRange();
    EXPECT_EQ(range.description.substr(0, 11), "0 ... 500 C");
    EXPECT_EQ(range.lowerLimit, 2730);
    EXPECT_EQ(range.upperLimit, 7730);
    EXPECT_EQ(protocol_.Descriptions().size(), 1u);

    const auto result = protocol_.Decode(Frame(1, 0x2222, ThermalFrame{}));
    EXPECT_FALSE(result.selectFirstRange);
    EXPECT_EQ(protocol_.OutstandingCommand(), std::nullopt);
    EXPECT_EQ(protocol_.CurrentRange(), range);
}

TEST_F(ImagerProtocolTest, EarlyLimitsHoldForTypes31And61UntilTheirDescriptionArrives) {
    protocol_.Decode(Frame(1, 1, ThermalFrame{}, 61));
    for (int range = 1; range <= 6; ++range) {
        EXPECT_EQ(protocol_.Range(range).lowerLimit, 2530) << range;
        EXPECT_EQ(protocol_.Range(range).upperLimit, 8732) << range;
    }
    protocol_.Decode(RangeCount(3, 61));
    protocol_.Decode(Description(1, "plain", 0, 0, 61));
    protocol_.Decode(Frame(1, 1, ThermalFrame{}, 61));
    EXPECT_EQ(protocol_.Range(1).upperLimit, 5730);
    for (int range = 2; range <= 6; ++range) {
        EXPECT_EQ(protocol_.Range(range).lowerLimit, 2530) << range;
        EXPECT_EQ(protocol_.Range(range).upperLimit, 8732) << range;
    }
    // Other heads never get them.
    ImagerProtocol other(nullptr);
    other.Decode(Frame(1, 1, ThermalFrame{}, 41));
    EXPECT_EQ(other.Range(2).upperLimit, 12730);
}

TEST_F(ImagerProtocolTest, EdgeRepairCopiesTheSecondRingOutwards) {
    CompleteRanges({"plain", HighText()});
    const ThermalFrame sent = Counting();
    protocol_.Decode(Frame(2, 1, sent));
    ThermalFrame got;
    protocol_.CopyFrame(got);
    auto at = [](const ThermalFrame& f, int r, int c) {
        return f[static_cast<std::size_t>(r * 16 + c)];
    };
    for (int i = 1; i <= 14; ++i) {
        EXPECT_EQ(at(got, 0, i), at(sent, 1, i));
        EXPECT_EQ(at(got, 15, i), at(sent, 14, i));
        EXPECT_EQ(at(got, i, 15), at(sent, i, 14));
        EXPECT_EQ(at(got, i, 0), at(sent, i, 1));
        for (int j = 1; j <= 14; ++j) {
            EXPECT_EQ(at(got, i, j), at(sent, i, j));
        }
    }
    // Corners come from the rows just written, so from the second ring's corners.
    EXPECT_EQ(at(got, 0, 0), at(sent, 1, 1));
    EXPECT_EQ(at(got, 0, 15), at(sent, 1, 14));
    EXPECT_EQ(at(got, 15, 0), at(sent, 14, 1));
    EXPECT_EQ(at(got, 15, 15), at(sent, 14, 14));
    EXPECT_EQ(events_.Calls(), std::vector<bool>{true});

    protocol_.Decode(Frame(1, 1, sent));  // the plain range is left alone
    protocol_.CopyFrame(got);
    EXPECT_EQ(got, sent);
    EXPECT_EQ(events_.Calls(), (std::vector<bool>{true, false}));
}

TEST_F(ImagerProtocolTest, EdgeRepairOnlyForTypes71And96WithAKnownHighRange) {
    const ThermalFrame sent = Counting();
    auto repaired = [&](std::uint8_t type, std::uint8_t range, bool describe) {
        ImagerProtocol protocol(nullptr);
        if (describe) {
            protocol.Decode(RangeCount(1, type));
            protocol.Decode(Description(1, HighText(), 0, 0, type));
        }
        protocol.Decode(Frame(range, 1, sent, type));
        ThermalFrame got;
        protocol.CopyFrame(got);
        return got != sent;
    };
    EXPECT_TRUE(repaired(71, 1, true));
    EXPECT_TRUE(repaired(96, 1, true));
    EXPECT_FALSE(repaired(72, 1, true));
    EXPECT_FALSE(repaired(71, 1, false));   // no description yet
    EXPECT_FALSE(repaired(71, 255, true));  // range unknown
}

}  // namespace
