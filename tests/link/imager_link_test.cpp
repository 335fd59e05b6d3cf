#include "link/imager_link.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <random>
#include <thread>

#include "headsim/head_options.h"
#include "headsim/head_packets.h"
#include "headsim/simulated_head.h"
#include "link_test_support.h"
#include "platform/lock_holder.h"

namespace {

using link_test::Bytes;
using link_test::WaitUntil;

TEST(ImagerLinkWithoutHeadTest, OpenFailsAndTheLinkRunsWithoutAHead) {
    link_test::TemporaryDeviceRoot root;
    link_test::RecordingHeadEvents events;
    {
        ImagerLink link(&events);
        EXPECT_FALSE(link.Open());
        EXPECT_EQ(link.OpenError(), ENOENT);
        EXPECT_FALSE(link.PortOpen());
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(link.Poll(), 0);
        }
        EXPECT_TRUE(link.HeadAbsent());
        EXPECT_EQ(events.PresenceChanges(), 1);
        EXPECT_FALSE(link.Open(root.Home()));  // a folder is no serial device
        EXPECT_EQ(link.OpenError(), EISDIR);
        link.SelectRange(2);
        EXPECT_EQ(link.CurrentRangeNumber(), 255);
        EXPECT_EQ(link.CurrentLowerLimit(), 2630);
        EXPECT_EQ(link.CurrentUpperLimit(), 5730);
    }
    EXPECT_EQ(events.RangeChanges(), 0);
    EXPECT_TRUE(events.Calls().empty());

    ImagerLink silent(nullptr);  // nobody listening, never opened
    EXPECT_EQ(silent.Poll(), 0);
    EXPECT_FALSE(silent.HeadAbsent());
}

// The head is unplugged (the master side closes) and plugged in again at the same path,
// while a thread polls as the acquisition thread does and this one reads and writes.
TEST(ImagerLinkReplugTest, LostDeviceIsReopenedAndTheReturningHeadIsAskedForItsRanges) {
    using namespace std::chrono_literals;
    link_test::TemporaryDeviceRoot root;
    link_test::RecordingHeadEvents events;
    std::optional<link_test::HeadEnd> head(std::in_place);
    ASSERT_TRUE(head->Ready());
    ImagerLink link(&events);
    ASSERT_TRUE(link.Open());
    std::atomic<bool> stop{false};
    std::thread poller([&] {
        while (!stop) {
            link.Poll();
            std::this_thread::sleep_for(75ms);
        }
    });
    // A head without ranges: once it has answered the query, nothing more is asked.
    ASSERT_TRUE(head->Send(head_packets::Wrap(head_packets::RangeCountBody(71, 0))));
    std::this_thread::sleep_for(300ms);
    head->TakeCommands();
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(head->TakeCommands().empty());
    EXPECT_FALSE(link.HeadAbsent());

    head->Terminal().CloseMaster();
    EXPECT_TRUE(WaitUntil([&] { return link.HeadAbsent(); }, 5s));
    EXPECT_FALSE(link.PortOpen());
    EXPECT_EQ(events.PresenceChanges(), 1);
    link.SelectRange(2);  // goes nowhere

    head.emplace();
    ASSERT_TRUE(head->Ready());
    const auto pluggedIn = std::chrono::steady_clock::now();
    std::vector<Bytes> commands;
    EXPECT_TRUE(WaitUntil(
        [&] {
            commands = head->TakeCommands();
            return std::count(commands.begin(), commands.end(), link_test::QueryCommand()) > 0;
        },
        5s));
    EXPECT_LT(std::chrono::steady_clock::now() - pluggedIn, 2s);
    EXPECT_TRUE(link.PortOpen());
    EXPECT_TRUE(WaitUntil([&] { return !link.HeadAbsent() && events.PresenceChanges() == 2; }));
    stop = true;
    poller.join();
}

// Two programs on one head: the second is refused while the first holds the port, the
// first loses no frame meanwhile, and the second takes over soon after the first ends.
TEST(ImagerLinkExclusiveTest, SecondOpenerIsRefusedUntilTheFirstLetsGo) {
    using namespace std::chrono_literals;
    link_test::TemporaryDeviceRoot root;
    link_test::HeadEnd head;
    ASSERT_TRUE(head.Ready());
    std::optional<ImagerLink> first(std::in_place, nullptr);
    ImagerLink second(nullptr);
    ASSERT_TRUE(first->Open());
    EXPECT_FALSE(second.Open());
    EXPECT_EQ(second.OpenError(), EBUSY);
    const auto holder = lock_holder::Find(device_root::ComPort(1));
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->processId, ::getpid());

    std::atomic<bool> stop{false};
    std::mutex firstMutex;
    auto pollBoth = [&] {
        while (!stop) {
            {
                std::lock_guard lock(firstMutex);
                if (first) {
                    first->Poll();
                }
            }
            second.Poll();
            std::this_thread::sleep_for(10ms);
        }
    };
    std::thread poller(pollBoth);
    constexpr int kFrames = 60;
    const Bytes frame = head_packets::Wrap(head_packets::FrameBody(71, 1, 7, ThermalFrame{}));
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_TRUE(head.Send(frame));
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(WaitUntil([&] { return first->Health().framesReceived == kFrames; }, 5s))
        << first->Health().framesReceived;
    std::this_thread::sleep_for(1500ms);  // the second has retried meanwhile
    EXPECT_EQ(first->Health().framesReceived, static_cast<std::uint64_t>(kFrames));
    EXPECT_FALSE(second.PortOpen());

    {
        std::lock_guard lock(firstMutex);
        first.reset();
    }
    const auto released = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitUntil([&] { return second.PortOpen(); }, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - released, 1500ms);
    EXPECT_TRUE(WaitUntil(
        [&] {
            head.Send(frame);
            return second.Health().framesTaken > 0;
        },
        5s));
    stop = true;
    poller.join();
}

// The link on COM1, a pseudo-terminal whose other end the test plays.
class ImagerLinkOverPtyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(head_.Ready());
        ASSERT_TRUE(link_.Open());
    }

    // Takes in what the link sent and, with a responder, answers it.
    void Serve() {
        for (auto& command : head_.TakeCommands()) {
            if (responder_) {
                const auto answer = responder_->Answer(command);
                if (!answer.empty()) {
                    head_.Send(answer);
                }
            }
            commands_.push_back(std::move(command));
        }
    }

    // Plays the acquisition thread until `condition` holds.
    template <class Condition>
    bool PollUntil(Condition condition) {
        return WaitUntil([&] {
            link_.Poll();
            Serve();
            return condition();
        });
    }

    // Sends a frame until the link has taken it in. With answers to queries on the line
    // as well, a frame can be overtaken in the one-packet mailbox, so a streaming head
    // sends it again; `once` sends it a single time.
    bool SendAndReceive(const ThermalFrame& frame, std::uint16_t serial, std::uint8_t range = 1,
                        bool once = false) {
        const Bytes packet = head_packets::Wrap(head_packets::FrameBody(71, range, serial, frame));
        int polls = 0;
        head_.Send(packet);
        return PollUntil([&] {
            if (!once && ++polls % 10 == 0) {
                head_.Send(packet);
            }
            ThermalFrame got;
            link_.CopyFrame(got);
            return got == frame && link_.HeadSerialNumber() == serial;
        });
    }

    std::size_t Count(const Bytes& command) const {
        return static_cast<std::size_t>(std::count(commands_.begin(), commands_.end(), command));
    }

    link_test::TemporaryDeviceRoot root_;
    link_test::HeadEnd head_;
    link_test::RecordingHeadEvents events_;
    ImagerLink link_{&events_};
    std::optional<SimulatedHead> responder_;
    std::vector<Bytes> commands_;
};

TEST_F(ImagerLinkOverPtyTest, SendsTheQueryAndRangeSelectionByteExactly) {
    EXPECT_TRUE(link_.PortOpen());
    EXPECT_EQ(link_.Poll(), 0);
    link_.SelectRange(3);
    const Bytes expected{0xAA, 0xBB, 0x93, 0x00, 0x00, 0xAA, 0xCC, 0xAA,
                         0xBB, 0x95, 0x03, 0x00, 0x00, 0xAA, 0xCC};
    Bytes received;
    ASSERT_TRUE(WaitUntil([&] {
        std::uint8_t byte = 0;
        while (::read(head_.Terminal().Master(), &byte, 1) == 1) {
            received.push_back(byte);
        }
        return received.size() >= expected.size();
    }));
    EXPECT_EQ(received, expected);
}

TEST_F(ImagerLinkOverPtyTest, RepeatsTheQueryUntilTheHeadAnswers) {
    ASSERT_TRUE(PollUntil([&] { return Count(link_test::QueryCommand()) >= 3; }));
    EXPECT_EQ(commands_.size(), Count(link_test::QueryCommand()));
}

TEST_F(ImagerLinkOverPtyTest, RangeHandshakeCompletesAndFramesDecodeExactly) {
    SimulatedHeadConfig config;
    config.ranges = DefaultSimulatedRanges();
    responder_.emplace(config);
    ASSERT_TRUE(PollUntil([&] { return link_.Descriptions().size() == 3; }));
    EXPECT_EQ(link_.Description(2).substr(0, 21), "200 ... 1000 C      H");
    EXPECT_GE(Count(link_test::RequestCommand(3)), 1u);
    EXPECT_EQ(Count(link_test::RequestCommand(4)), 0u);

    ThermalFrame frame;
    for (std::size_t i = 0; i < frame.pixels.size(); ++i) {
        frame[i] = static_cast<std::uint16_t>(2700 + i);  // includes 0x0AAA = 2730
    }
    ASSERT_TRUE(SendAndReceive(frame, 0x1234, 2));
    EXPECT_EQ(link_.CurrentRangeNumber(), 2);
    EXPECT_EQ(link_.CurrentLowerLimit(), 2730);
    EXPECT_EQ(link_.CurrentUpperLimit(), 7730);
    const HeadRange current = link_.CurrentRange();
    EXPECT_EQ(current.number, 2);
    EXPECT_EQ(current.description.substr(0, 11), "0 ... 500 C");
    EXPECT_EQ(events_.RangeChanges(), 4);  // 3 texts, 1 range
    EXPECT_FALSE(events_.Calls().empty());
    EXPECT_FALSE(events_.Calls().back());
}

TEST_F(ImagerLinkOverPtyTest, NewSerialNumberSelectsRangeOneAndRestartsTheQuery) {
    SimulatedHeadConfig config;
    config.ranges = DefaultSimulatedRanges();
    responder_.emplace(config);
    ASSERT_TRUE(SendAndReceive(ThermalFrame::Filled(2950), 0x1234, 2));
    ASSERT_TRUE(PollUntil([&] { return link_.Descriptions().size() == 3; }));
    EXPECT_EQ(Count(link_test::SelectCommand(1)), 0u);  // the first head is only recorded
    const std::size_t firstRequests = Count(link_test::RequestCommand(1));

    ASSERT_TRUE(SendAndReceive(ThermalFrame::Filled(2960), 0x1235, 2));
    ASSERT_TRUE(PollUntil([&] {
        const auto select =
            std::find(commands_.begin(), commands_.end(), link_test::SelectCommand(1));
        return select != commands_.end() && select + 1 != commands_.end();
    }));
    const auto select = std::find(commands_.begin(), commands_.end(), link_test::SelectCommand(1));
    EXPECT_EQ(*(select + 1), link_test::QueryCommand());
    EXPECT_EQ(Count(link_test::SelectCommand(1)), 1u);
    EXPECT_EQ(responder_->CurrentRange(), 1);  // the head followed
    // The new head's descriptions are read afresh, each once.
    EXPECT_TRUE(PollUntil([&] { return link_.Descriptions().size() == 3u; }));
    EXPECT_GT(Count(link_test::RequestCommand(1)), firstRequests);
}

TEST_F(ImagerLinkOverPtyTest, RandomBytesBetweenPacketsLoseNoLaterPacket) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> length(1, 400);
    std::uniform_int_distribution<int> value(0, 254);
    for (std::uint16_t k = 0; k < 30; ++k) {
        Bytes burst;
        for (int n = length(random); n > 0; --n) {
            const int drawn = value(random);
            burst.push_back(static_cast<std::uint8_t>(drawn >= 0xAA ? drawn + 1 : drawn));
        }
        if (k % 5 == 0) {
            burst.insert(burst.end(), {0xAA, 0xCC});  // a stray end marker as well
        }
        head_.Send(burst);
        ThermalFrame frame = ThermalFrame::Filled(static_cast<std::uint16_t>(2900 + k));
        frame[static_cast<std::size_t>(k)] = 0xAAAA;
        ASSERT_TRUE(SendAndReceive(frame, 77, 1, true)) << "frame " << k;
    }
}

}  // namespace
