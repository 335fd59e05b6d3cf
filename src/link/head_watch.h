#pragma once

#include <chrono>

// Keeps track of whether the head answers and when a closed port is due to be opened
// again. It is told about open attempts, a lost device and arriving packets, each with
// the time it happened, and decides nothing before the first open attempt.
class HeadWatch {
  public:
    using Clock = std::chrono::steady_clock;
    // A closed port is tried again this long after the last attempt.
    static constexpr std::chrono::milliseconds kReopenInterval{1000};
    // An open port from which nothing has arrived for this long has no head on it.
    static constexpr std::chrono::milliseconds kSilenceLimit{3000};

    void OpenAttempted(Clock::time_point now, bool opened);
    void PortLost();
    void PacketArrived(Clock::time_point now) { lastSign_ = now; }

    // The port is closed and the last attempt lies a reopen interval back.
    bool ReopenDue(Clock::time_point now) const;
    // An open was attempted and the port is closed now, or it has been silent too long.
    bool HeadAbsent(Clock::time_point now) const;

  private:
    bool watching_ = false;
    bool portOpen_ = false;
    Clock::time_point lastAttempt_{};
    // The last open or the last packet, whichever came later.
    Clock::time_point lastSign_{};
};
