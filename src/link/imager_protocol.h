#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/head_command.h"
#include "link/head_range.h"
#include "link/packet_buffer.h"
#include "link/thermal_frame.h"

class HeadEventSink;

// The decoding half of the conversation with the head, free of any port: which query is
// still outstanding, and what a handed-over packet means (frame, range count, range
// description). Keeps the latest frame, the head's serial number, the current range and
// the descriptions and limits of ranges 1..6. Decode runs on the polling thread; the
// readers may be called from any thread and get copies.
class ImagerProtocol {
  public:
    struct DecodeResult {
        bool frameAccepted = false;
        // A head with a new serial number took over: select range 1 on it.
        bool selectFirstRange = false;
    };

    // `events` may be null.
    explicit ImagerProtocol(HeadEventSink* events);

    // The range count query while the count is unknown, else the next description request
    // while descriptions are missing; nothing once the range information is complete.
    std::optional<HeadCommand> OutstandingCommand() const;
    DecodeResult Decode(const PacketBuffer& packet);
    // Asks the head for its range count again: a head that was plugged in again may be
    // another one. Descriptions and limits stay; a frame with another serial number then
    // replaces them with the new head's.
    void AskForRanges();

    void CopyFrame(ThermalFrame& destination) const;
    std::uint8_t CurrentRangeNumber() const;
    std::vector<std::string> Descriptions() const;
    std::string Description(int index) const;  // empty beyond the list
    // Limits of the current range; the standard pair while it is unknown or has no slot.
    std::uint16_t CurrentLowerLimit() const;
    std::uint16_t CurrentUpperLimit() const;
    HeadRange CurrentRange() const;
    // Range `number` (1-based) as far as it is known.
    HeadRange Range(int number) const;
    std::uint16_t HeadSerialNumber() const;
    std::uint8_t DeviceTypeCode() const;
    // Packets decoded so far that were of no use: an unknown device type, or a frame of
    // the wrong length.
    std::uint64_t DamagedPackets() const;

  private:
    struct Limits {
        std::uint16_t lower;
        std::uint16_t upper;
    };
    // What a decoded packet must tell others once the state lock is released.
    struct Effects {
        bool rangeInformationChanged = false;
        bool frameAccepted = false;
        bool edgesRepaired = false;
        bool selectFirstRange = false;
    };

    // Back to the start state of the range information: no descriptions, start limits.
    void ForgetRanges();
    void DecodeLocked(const PacketBuffer& packet, Effects& effects);
    void TakeDescription(const PacketBuffer& packet, Effects& effects);
    void TakeFrame(const PacketBuffer& packet, Effects& effects);
    bool EdgeRepairApplies() const;
    Limits LimitsOf(int number) const;
    std::string DescriptionOf(int index) const;
    HeadRange RangeOf(int number) const;
    void Announce(const Effects& effects) const;

    HeadEventSink* events_;

    mutable std::mutex mutex_;  // guards everything below
    ThermalFrame latestFrame_{};
    std::uint16_t headSerialNumber_ = 0;
    std::uint8_t currentRange_ = head_wire::kUnknownRange;
    std::uint8_t reportedRangeCount_ = head_wire::kUnknownRange;
    std::uint8_t receivedRangeCount_ = 0;
    std::uint8_t deviceTypeCode_ = 0;
    std::uint64_t damagedPackets_ = 0;
    std::vector<std::string> descriptions_;
    std::array<Limits, head_wire::kRangeSlots> limits_{};
};
