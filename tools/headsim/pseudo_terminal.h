#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/unique_fd.h"

// A new pseudo-terminal in raw mode: the master side (non-blocking) plays the device, the
// slave side is what a program opens as its serial port. The slave stays open here as
// well, so the master keeps working while no one else has it open.
class PseudoTerminal {
  public:
    // Nothing when no pseudo-terminal could be made; `error` then says why.
    static std::optional<PseudoTerminal> Open(std::string& error);

    int Master() const { return master_.Get(); }
    const std::string& SlavePath() const { return slavePath_; }
    // Bytes written by the master that no one has read from the slave yet.
    std::size_t PendingForSlave() const;
    // Writes all of `bytes`, waiting at most `timeoutMs` for room. False when cut short.
    bool Send(std::span<const std::uint8_t> bytes, int timeoutMs) const;
    // Hangs up: closes the master, as when a USB adapter is pulled.
    void CloseMaster() { master_.Reset(); }

  private:
    PseudoTerminal() = default;

    UniqueFd master_;
    UniqueFd slave_;
    std::string slavePath_;
};
