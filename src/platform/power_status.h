#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// The three bytes of the handheld's power status.
struct PowerReading {
    static constexpr std::uint8_t kUnknown = 255;

    // AC line: 1 on external power, 0 not, 255 unknown.
    std::uint8_t acLine = kUnknown;
    // Battery flag: 1 high, 2 low, 4 critical, 8 charging (added to one of those),
    // 128 no battery, 255 unknown.
    std::uint8_t batteryFlag = kUnknown;
    // Charge in percent 0..100, 255 unknown.
    std::uint8_t percent = kUnknown;

    bool operator==(const PowerReading&) const = default;
};

namespace battery_flag {
inline constexpr std::uint8_t kHigh = 1;
inline constexpr std::uint8_t kLow = 2;
inline constexpr std::uint8_t kCritical = 4;
inline constexpr std::uint8_t kCharging = 8;
inline constexpr std::uint8_t kNoBattery = 128;
inline constexpr std::uint8_t kUnknown = 255;
}  // namespace battery_flag

// Reads the power status from the kernel's power supply folder: the external supplies'
// `online` and the first system battery's `capacity`, `status` and `capacity_level`.
class PowerStatus {
  public:
    static constexpr const char* kSystemFolder = "/sys/class/power_supply";

    explicit PowerStatus(std::filesystem::path folder = kSystemFolder)
        : folder_(std::move(folder)) {}

    PowerReading Read() const;

  private:
    std::optional<std::filesystem::path> FirstBattery() const;
    std::uint8_t AcLine(const std::optional<std::filesystem::path>& battery) const;
    static std::uint8_t BatteryFlag(const std::filesystem::path& battery);
    static std::uint8_t Percent(const std::filesystem::path& battery);
    static std::optional<std::string> Attribute(const std::filesystem::path& supply,
                                                const char* name);

    std::filesystem::path folder_;
};
