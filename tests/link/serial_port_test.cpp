#include "link/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <thread>

#include "headsim/head_packets.h"
#include "link/head_command.h"
#include "link_test_support.h"

namespace {

using link_test::Bytes;
using link_test::WaitUntil;

class SerialPortTest : public ::testing::Test {
  protected:
    bool OpenCom1() { return port_.Open(1, 115200, 0, 8, 0); }

    link_test::TemporaryDeviceRoot root_;
    SerialPort port_;
};

TEST_F(SerialPortTest, MissingOrUnopenableDeviceLeavesThePortClosed) {
    EXPECT_FALSE(OpenCom1());  // no COM1 entry at all
    std::filesystem::create_symlink(root_.Home() / "nowhere", device_root::ComPort(1));
    EXPECT_FALSE(OpenCom1());  // an entry that names nothing
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_FALSE(port_.Reader().Running());
    const HeadCommand query = HeadCommand::QueryRangeCount();
    const auto command = query.Bytes();
    EXPECT_FALSE(port_.Write(command.data(), static_cast<int>(command.size())));
    PacketBuffer packet{};
    EXPECT_FALSE(port_.FetchPacket(packet));
    port_.Close();  // nothing to do, returns at once
    port_.Close();
}

TEST_F(SerialPortTest, ConfiguresARawLineWithoutFlowControl) {
    link_test::HeadEnd head;
    ASSERT_TRUE(head.Ready());
    ASSERT_TRUE(OpenCom1());
    termios line{};
    const int slave = ::open(head.SlavePath().c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(slave, 0);
    ASSERT_EQ(::tcgetattr(slave, &line), 0);
    ::close(slave);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(::cfgetispeed(&line), static_cast<speed_t>(B115200));
    EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B115200));
}

TEST_F(SerialPortTest, ReceivedPacketsArriveWholeAndNewestWins) {
    link_test::HeadEnd head;
    ASSERT_TRUE(head.Ready());
    ASSERT_TRUE(OpenCom1());
    PacketBuffer packet{};
    const Bytes first{0x47, 0x12, 0x01};
    const Bytes second{0x47, 0x12, 0xAA, 0x02};
    ASSERT_TRUE(head.Send(head_packets::Wrap(first)));
    ASSERT_TRUE(WaitUntil([&] { return port_.FetchPacket(packet); }));
    EXPECT_EQ(packet, link_test::Handed(first));

    Bytes both = head_packets::Wrap(first);
    const Bytes wrappedSecond = head_packets::Wrap(second);
    both.insert(both.end(), wrappedSecond.begin(), wrappedSecond.end());
    ASSERT_TRUE(head.Send(both));
    ASSERT_TRUE(WaitUntil(
        [&] { return port_.FetchPacket(packet) && packet == link_test::Handed(second); }));
    EXPECT_FALSE(port_.FetchPacket(packet));
}

TEST_F(SerialPortTest, OnlyTheLowEightBitsOfTheLengthCount) {
    link_test::HeadEnd head;
    ASSERT_TRUE(head.Ready());
    ASSERT_TRUE(OpenCom1());
    Bytes command(300, 0x00);
    const HeadCommand selectCommand = HeadCommand::SelectRange(4);
    const HeadCommand queryCommand = HeadCommand::QueryRangeCount();
    const auto select = selectCommand.Bytes();
    const auto query = queryCommand.Bytes();
    std::copy(select.begin(), select.end(), command.begin());
    ASSERT_TRUE(port_.Write(command.data(), 256 + static_cast<int>(select.size())));
    ASSERT_TRUE(port_.Write(query.data(), static_cast<int>(query.size())));

    Bytes expected(select.begin(), select.end());
    expected.insert(expected.end(), query.begin(), query.end());
    Bytes received;
    ASSERT_TRUE(WaitUntil([&] {
        std::uint8_t byte = 0;
        while (::read(head.Terminal().Master(), &byte, 1) == 1) {
            received.push_back(byte);
        }
        return received.size() >= expected.size();
    }));
    EXPECT_EQ(received, expected);
}

TEST_F(SerialPortTest, WritesFromTwoThreadsNeverInterleave) {
    link_test::HeadEnd head;
    ASSERT_TRUE(head.Ready());
    ASSERT_TRUE(OpenCom1());
    constexpr std::size_t kEach = 300;
    std::vector<Bytes> received;
    std::thread collector([&] {
        WaitUntil([&] {
            auto more = head.TakeCommands();
            received.insert(received.end(), more.begin(), more.end());
            return received.size() >= 2 * kEach;
        });
    });
    auto writer = [&](std::uint8_t range) {
        const HeadCommand command = HeadCommand::SelectRange(range);
        const auto bytes = command.Bytes();
        for (std::size_t i = 0; i < kEach; ++i) {
            port_.Write(bytes.data(), static_cast<int>(bytes.size()));
        }
    };
    std::thread a(writer, 1);
    std::thread b(writer, 2);
    a.join();
    b.join();
    collector.join();
    ASSERT_EQ(received.size(), 2 * kEach);
    EXPECT_EQ(std::count(received.begin(), received.end(), link_test::SelectCommand(1)),
              static_cast<std::ptrdiff_t>(kEach));
    EXPECT_EQ(std::count(received.begin(), received.end(), link_test::SelectCommand(2)),
              static_cast<std::ptrdiff_t>(kEach));
}

TEST_F(SerialPortTest, ReaderGoesQuietWhenTheDeviceHangsUp) {
    link_test::HeadEnd head;
    ASSERT_TRUE(head.Ready());
    ASSERT_TRUE(OpenCom1());
    PacketBuffer packet{};
    ASSERT_TRUE(head.Send(head_packets::Wrap(Bytes{0x47, 0x06})));
    ASSERT_TRUE(WaitUntil([&] { return port_.FetchPacket(packet); }));

    head.Terminal().CloseMaster();  // the adapter is pulled
    ReaderThread& reader = port_.Reader();
    ASSERT_TRUE(WaitUntil([&] { return reader.DeviceLost(); }));
    const auto wakeups = reader.Wakeups();
    const auto cpuBefore = reader.CpuTime();
    ASSERT_TRUE(cpuBefore.has_value());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // A thread that spins would count thousands of wake-ups and burn most of this time.
    EXPECT_EQ(reader.Wakeups(), wakeups);
    EXPECT_LT(*reader.CpuTime() - *cpuBefore, std::chrono::milliseconds(100));
    EXPECT_FALSE(port_.FetchPacket(packet));
    port_.Close();
    EXPECT_FALSE(reader.Running());
}

TEST_F(SerialPortTest, CloseWakesAnIdleReaderAndCanBeRepeated) {
    link_test::HeadEnd head;
    ASSERT_TRUE(head.Ready());
    ASSERT_TRUE(OpenCom1());
    EXPECT_TRUE(port_.IsOpen());
    EXPECT_TRUE(port_.Reader().Running());
    port_.Close();  // the reader sits in its wait with nothing arriving
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_FALSE(port_.Reader().Running());
    const HeadCommand query = HeadCommand::QueryRangeCount();
    const auto command = query.Bytes();
    EXPECT_FALSE(port_.Write(command.data(), static_cast<int>(command.size())));
    port_.Close();
}

}  // namespace
