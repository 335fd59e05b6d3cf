#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <ostream>
#include <random>

#include "headsim/head_options.h"
#include "headsim/pseudo_terminal.h"
#include "headsim/simulated_head.h"
#include "headsim/synthetic_scene.h"
#include "link/packet_framer.h"

// The running simulated head: answers commands as they arrive on the pseudo-terminal
// and streams frames at the configured rate.
class HeadSession {
  public:
    HeadSession(const HeadOptions& options, const PseudoTerminal& terminal, std::ostream& log);

    // Runs until `stopRequested` is set (by a signal handler).
    void Run(const volatile std::sig_atomic_t& stopRequested);

  private:
    using Clock = std::chrono::steady_clock;

    void ServeCommands();
    // Each returns the bytes it put on the line.
    std::size_t SendFrame(double seconds);
    std::size_t SendGarbage();
    // The time from one frame to the next, after `lineBytes` went out with the frame.
    Clock::duration FramePeriod(std::size_t lineBytes) const;
    void ChangeSerialWhenDue(double seconds);
    void ChangeSerial(std::uint16_t serialNumber);
    // Sends a whole packet, or nothing while no one reads the other side.
    void Send(std::span<const std::uint8_t> bytes);

    const HeadOptions& options_;
    const PseudoTerminal& terminal_;
    std::ostream& log_;
    SimulatedHead head_;
    SyntheticScene scene_;
    PacketFramer commands_;
    std::mt19937 random_;
    bool serialChanged_ = false;
    double nextSerialCycle_ = 0.0;  // seconds from the start
};
