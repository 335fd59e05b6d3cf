#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>

#include "link/packet_framer.h"
#include "platform/unique_fd.h"

class PacketMailbox;

// Waits for received bytes on a serial device, frames them and leaves every completed
// packet in the mailbox. Stop wakes the wait at once. A device that goes away (hang-up,
// error, end of file) is left alone: the thread then sleeps until Stop, and its owner
// may start it again on a new device.
class ReaderThread {
  public:
    explicit ReaderThread(PacketMailbox& mailbox) : mailbox_(mailbox) {}
    ~ReaderThread() { Stop(); }
    ReaderThread(const ReaderThread&) = delete;
    ReaderThread& operator=(const ReaderThread&) = delete;

    // Starts reading `deviceFd`, which must be non-blocking and stay open until Stop has
    // returned. False when the thread could not be started.
    bool Start(int deviceFd);
    // Wakes the thread and joins it. Does nothing when it is not running.
    void Stop();

    bool Running() const { return thread_.joinable(); }
    // True once the device reported a hang-up or error, or ran dry for good.
    bool DeviceLost() const { return deviceLost_.load(); }
    // How often the wait has returned: a thread that is idle does not count up.
    std::uint64_t Wakeups() const { return wakeups_.load(); }
    // CPU time the thread has used so far; only while it runs, from the owning thread.
    std::optional<std::chrono::nanoseconds> CpuTime();

  private:
    void Run(int deviceFd);
    // Reads what is queued and frames it. False when the device is gone.
    bool Drain(int deviceFd, short events);

    PacketMailbox& mailbox_;
    PacketFramer framer_;
    UniqueFd wake_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> deviceLost_{false};
    std::atomic<std::uint64_t> wakeups_{0};
    std::thread thread_;
};
