#pragma once

// Helpers for the serial link tests: a throw-away device root, recording services and
// the head's end of a pseudo-terminal wired to COM1.

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

namespace link_test {

using Bytes = std::vector<std::uint8_t>;

// Points XDG_DATA_HOME at a new temporary folder for the lifetime of the object.
class TemporaryDeviceRoot {
  public:
    TemporaryDeviceRoot() {
        const char* old = std::getenv("XDG_DATA_HOME");
        saved_ = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quorvel-link-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        setenv("XDG_DATA_HOME", folder_.c_str(), 1);
        std::filesystem::create_directories(device_root::Folder());
    }
    ~TemporaryDeviceRoot() {
        if (saved_) {
            setenv("XDG_DATA_HOME", saved_->c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    const std::filesystem::path& XdgDataHome() const { return folder_; }

  private:
    std::optional<std::string> saved_;
    std::filesystem::path folder_;
};

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
    int RangeChanges() const {
        std::lock_guard lock(mutex_);
        return rangeChanges_;
    }
    std::vector<bool> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }

  private:
    mutable std::mutex mutex_;
    int rangeChanges_ = 0;
    std::vector<bool> calls_;
};

// Polls `condition` with short sleeps until it holds or a generous deadline passes.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::seconds deadline = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// A packet as the serial port hands it over: body, end marker, zeros.
inline PacketBuffer Handed(const Bytes& body) {
    PacketBuffer packet{};
    std::copy(body.begin(), body.end(), packet.begin());
    packet[body.size()] = 0xAA;
    packet[body.size() + 1] = 0xCC;
    return packet;
}

// The head's end of a pseudo-terminal whose slave is <device root>/COM1.
class HeadEnd {
  public:
    HeadEnd() {
        std::string error;
        terminal_ = PseudoTerminal::Open(error);
        EXPECT_TRUE(terminal_.has_value()) << error;
        if (terminal_) {
            link_ = SymbolicLink::Create(device_root::ComPort(1), terminal_->SlavePath(), error);
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
