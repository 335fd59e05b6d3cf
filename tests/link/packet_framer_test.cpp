#include "link/packet_framer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "headsim/head_packets.h"
#include "link/packet_mailbox.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Feeds every byte and collects the packets the framer closes.
std::vector<Bytes> Frame(PacketFramer& framer, const Bytes& stream) {
    std::vector<Bytes> packets;
    for (std::uint8_t byte : stream) {
        if (framer.Feed(byte)) {
            const auto packet = framer.Packet();
            packets.emplace_back(packet.begin(), packet.end());
        }
    }
    return packets;
}

std::vector<Bytes> Frame(const Bytes& stream) {
    PacketFramer framer;
    return Frame(framer, stream);
}

TEST(PacketFramerTest, RemovesEscapesAndKeepsTheEndMarker) {
    const auto packets = Frame({0xAA, 0xBB, 0x01, 0x06, 0xAA, 0xAA, 0x05, 0xAA, 0xCC});
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0], (Bytes{0x01, 0x06, 0xAA, 0x05, 0xAA, 0xCC}));
}

TEST(PacketFramerTest, EscapeBeforeAPlainByteStoresThatByteOnly) {
    EXPECT_EQ(Frame({0xAA, 0xBB, 0x10, 0xAA, 0x41, 0x20, 0xAA, 0xCC}),
              (std::vector<Bytes>{{0x10, 0x41, 0x20, 0xAA, 0xCC}}));
}

TEST(PacketFramerTest, UnescapedStartAndEndBytesInsideAPacketAreData) {
    EXPECT_EQ(Frame({0xAA, 0xBB, 0xBB, 0xCC, 0x01, 0xAA, 0xCC}),
              (std::vector<Bytes>{{0xBB, 0xCC, 0x01, 0xAA, 0xCC}}));
}

TEST(PacketFramerTest, EndMarkerWithoutAnOpenPacketClosesAnEmptyPacket) {
    EXPECT_EQ(Frame({0x11, 0xAA, 0xCC}), (std::vector<Bytes>{{0xAA, 0xCC}}));
}

TEST(PacketFramerTest, SecondStartMarkerKeepsWhatWasReceived) {
    EXPECT_EQ(Frame({0xAA, 0xBB, 0x01, 0x02, 0xAA, 0xBB, 0x03, 0xAA, 0xCC}),
              (std::vector<Bytes>{{0x01, 0x02, 0x03, 0xAA, 0xCC}}));
}

TEST(PacketFramerTest, BytesBetweenPacketsAreIgnoredButAPendingEscapeStays) {
    // AA 55 BB: the escape survives the ignored 55 and BB opens a packet.
    EXPECT_EQ(Frame({0x12, 0xBB, 0xCC, 0xAA, 0x55, 0xBB, 0x07, 0xAA, 0xCC}),
              (std::vector<Bytes>{{0x07, 0xAA, 0xCC}}));
    // A doubled escape outside a packet is ignored as well.
    EXPECT_EQ(Frame({0xAA, 0xAA, 0xBB, 0x08, 0xAA, 0xCC}),
              (std::vector<Bytes>{{0x08, 0xAA, 0xCC}}));
}

TEST(PacketFramerTest, StateCarriesAcrossPacketsAndFeeds) {
    PacketFramer framer;
    EXPECT_TRUE(Frame(framer, {0xAA, 0xBB, 0x01, 0xAA}).empty());
    // The pending escape of the last feed pairs with this one's first byte.
    EXPECT_EQ(Frame(framer, {0xAA, 0x02, 0xAA, 0xCC, 0xAA, 0xBB, 0x03, 0xAA, 0xCC}),
              (std::vector<Bytes>{{0x01, 0xAA, 0x02, 0xAA, 0xCC}, {0x03, 0xAA, 0xCC}}));
}

TEST(PacketFramerTest, OverlongPacketIsCutButStillEndsWithTheMarker) {
    Bytes stream{0xAA, 0xBB};
    stream.insert(stream.end(), 3000, 0x5A);
    stream.insert(stream.end(), {0xAA, 0xCC, 0xAA, 0xBB, 0x01, 0xAA, 0xCC});
    const auto packets = Frame(stream);
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0].size(), kPacketCapacity);
    EXPECT_EQ(packets[0][kPacketCapacity - 3], 0x5A);
    EXPECT_EQ(packets[0][kPacketCapacity - 2], 0xAA);
    EXPECT_EQ(packets[0][kPacketCapacity - 1], 0xCC);
    EXPECT_EQ(packets[1], (Bytes{0x01, 0xAA, 0xCC}));
}

TEST(PacketFramerTest, RandomBytesWithoutEscapeBetweenPacketsLoseNoPacket) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(0, 300);
    std::uniform_int_distribution<int> value(0, 254);
    Bytes stream;
    std::vector<Bytes> sent;
    for (int i = 0; i < 200; ++i) {
        for (int n = length(random); n > 0; --n) {
            const int drawn = value(random);
            stream.push_back(static_cast<std::uint8_t>(drawn >= 0xAA ? drawn + 1 : drawn));
        }
        Bytes body;
        for (int n = length(random) + 1; n > 0; --n) {
            body.push_back(static_cast<std::uint8_t>(value(random) + 1));  // any byte but 0
        }
        const auto packet = head_packets::Wrap(body);
        stream.insert(stream.end(), packet.begin(), packet.end());
        body.insert(body.end(), {0xAA, 0xCC});
        sent.push_back(body);
    }
    EXPECT_EQ(Frame(stream), sent);
}

TEST(PacketMailboxTest, NewestPacketWinsAndIsZeroFilledBehindItsEnd) {
    PacketMailbox mailbox;
    PacketBuffer fetched{};
    fetched.fill(0x77);
    EXPECT_FALSE(mailbox.Take(fetched));
    EXPECT_EQ(fetched[0], 0x77);  // untouched

    const Bytes longer(40, 0x11);
    const Bytes shorter{0x22, 0xAA, 0xCC};
    mailbox.Put(longer);
    mailbox.Put(shorter);
    ASSERT_TRUE(mailbox.Take(fetched));
    PacketBuffer expected{};
    expected[0] = 0x22;
    expected[1] = 0xAA;
    expected[2] = 0xCC;
    EXPECT_EQ(fetched, expected);
    EXPECT_FALSE(mailbox.Take(fetched));
}

TEST(PacketMailboxTest, RangeAnswerOvertakenByFramesIsStillHandedOverFirst) {
    PacketMailbox mailbox;
    const Bytes rangeCount{71, 18, 3, 0xAA, 0xCC};
    const Bytes firstFrame{71, 6, 1, 0x01, 0xAA, 0xCC};
    const Bytes secondFrame{71, 6, 1, 0x02, 0xAA, 0xCC};
    mailbox.Put(rangeCount);
    mailbox.Put(firstFrame);
    mailbox.Put(secondFrame);

    PacketBuffer fetched{};
    ASSERT_TRUE(mailbox.Take(fetched));
    EXPECT_TRUE(std::equal(rangeCount.begin(), rangeCount.end(), fetched.begin()));
    ASSERT_TRUE(mailbox.Take(fetched));
    EXPECT_EQ(fetched[3], 0x02);  // among frames the newest still wins
    EXPECT_FALSE(mailbox.Take(fetched));
    // Both frames arrived; the first was replaced before anyone took it.
    EXPECT_EQ(mailbox.Counts().received, 2u);
    EXPECT_EQ(mailbox.Counts().replaced, 1u);
    mailbox.Put(firstFrame);
    ASSERT_TRUE(mailbox.Take(fetched));
    mailbox.Put(secondFrame);
    EXPECT_EQ(mailbox.Counts().replaced, 1u);  // the slot was empty again
}

}  // namespace
