#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/thermal_frame.h"

// One measurement range the simulated head offers.
struct SimulatedRange {
    std::string text;               // sent as it stands, at most 58 bytes
    std::uint16_t lowerKelvin = 0;  // 0 = no limits given
    std::uint16_t upperKelvin = 0;

    bool operator==(const SimulatedRange&) const = default;
};

struct SimulatedHeadConfig {
    std::uint8_t deviceType = 71;
    std::vector<SimulatedRange> ranges;
    std::uint16_t serialNumber = 0x1234;
    std::uint8_t initialRange = 1;
};

// The protocol side of a sensor head: answers the range count query and description
// requests, follows range selection and puts frames into packets (escaped, ready for
// the line).
class SimulatedHead {
  public:
    explicit SimulatedHead(SimulatedHeadConfig config);

    // The answer to one command as a packet framer hands it over (code, parameter, ...);
    // empty when the head gives none.
    std::vector<std::uint8_t> Answer(std::span<const std::uint8_t> command);
    std::vector<std::uint8_t> FramePacket(const ThermalFrame& frame) const;

    void SetSerialNumber(std::uint16_t serialNumber) { config_.serialNumber = serialNumber; }
    // Another head takes over: its serial number and ranges, on its initial range.
    void Exchange(std::uint16_t serialNumber, std::vector<SimulatedRange> ranges);
    std::uint16_t SerialNumber() const { return config_.serialNumber; }
    std::uint8_t CurrentRange() const { return currentRange_; }
    std::uint8_t RangeCount() const { return static_cast<std::uint8_t>(config_.ranges.size()); }

  private:
    bool IsOffered(int range) const { return range >= 1 && range <= RangeCount(); }

    SimulatedHeadConfig config_;
    std::uint8_t currentRange_;
};
