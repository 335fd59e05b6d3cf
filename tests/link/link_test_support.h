#pragma once

// Helpers of the serial link tests: recorded head events and the head's end of a
// pseudo-terminal wired to COM1.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "headsim/pseudo_terminal.h"
#include "headsim/symbolic_link.h"
#include "link/head_event_sink.h"
#include "link/packet_buffer.h"
#include "link/packet_framer.h"
#include "platform/device_root.h"
#include "support/environment.h"
#include "support/wait_until.h"

namespace link_test {

using test_support::TemporaryDeviceRoot;
using test_support::WaitUntil;

using Bytes = std::vector<std::uint8_t>;

// Records what the protocol tells: range changes and the edge repair of each frame.
class RecordingHeadEvents : public HeadEventSink {
  public:
    void RangeInformationChanged() override {
        std::lock_guard lock(mutex_);
        ++rangeChanges_;
    }
    void SetEdgeRepaired(bool repaired) override {
        std::lock_guard lock(mutex_);
        calls_.push_back(repaired);
    }
    void HeadPresenceChanged() override {
        std::lock_guard lock(mutex_);
        ++presenceChanges_;
    }
    int RangeChanges() const {
        std::lock_guard lock(mutex_);
        return rangeChanges_;
    }
    int PresenceChanges() const {
        std::lock_guard lock(mutex_);
        return presenceChanges_;
    }
    std::vector<bool> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }

  private:
    mutable std::mutex mutex_;
    int rangeChanges_ = 0;
    int presenceChanges_ = 0;
    std::vector<bool> calls_;
};

// A packet as the serial port hands it over: body, end marker, zeros.
inline PacketBuffer Handed(const Bytes& body) {
    PacketBuffer packet{};
    std::copy(body.begin(), body.end(), packet.begin());
    packet[body.size()] = 0xAA;
    packet[body.size() + 1] = 0xCC;
    return packet;
}

// The head's end of a pseudo-terminal whose slave is <device root>/COM1, or `at`.
class HeadEnd {
  public:
    explicit HeadEnd(const std::filesystem::path& at = device_root::ComPort(1)) {
        std::string error;
        terminal_ = PseudoTerminal::Open(error);
        EXPECT_TRUE(terminal_.has_value()) << error;
        if (terminal_) {
            link_ = SymbolicLink::Create(at, terminal_->SlavePath(), error);
            EXPECT_TRUE(link_.has_value()) << error;
        }
    }

    bool Ready() const { return terminal_.has_value() && link_.has_value(); }
    PseudoTerminal& Terminal() { return *terminal_; }
    const std::string& SlavePath() const { return terminal_->SlavePath(); }

    bool Send(const Bytes& bytes) { return terminal_->Send(bytes, 5000); }

    // Every command that has arrived so far, each as the framer hands it over.
    std::vector<Bytes> TakeCommands() {
        std::array<std::uint8_t, 512> chunk{};
        for (;;) {
            const ssize_t count = ::read(terminal_->Master(), chunk.data(), chunk.size());
            if (count <= 0) {
                break;
            }
            for (ssize_t i = 0; i < count; ++i) {
                if (framer_.Feed(chunk[static_cast<std::size_t>(i)])) {
                    const auto packet = framer_.Packet();
                    commands_.emplace_back(packet.begin(), packet.end());
                }
            }
        }
        return std::exchange(commands_, {});
    }

  private:
    std::optional<PseudoTerminal> terminal_;
    std::optional<SymbolicLink> link_;
    PacketFramer framer_;
    std::vector<Bytes> commands_;
};

// The framed form of the commands the program sends.
inline Bytes QueryCommand() {
    return {0x93, 0x00, 0x00, 0xAA, 0xCC};
}
inline Bytes RequestCommand(std::uint8_t n) {
    return {0x94, n, 0x00, 0x00, 0xAA, 0xCC};
}
inline Bytes SelectCommand(std::uint8_t v) {
    return {0x95, v, 0x00, 0x00, 0xAA, 0xCC};
}

}  // namespace link_test
