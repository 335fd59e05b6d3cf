#include "platform/power_status.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> SuppliesIn(const fs::path& folder) {
    std::vector<fs::path> supplies;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        supplies.push_back(it->path());
    }
    std::sort(supplies.begin(), supplies.end());
    return supplies;
}

std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::string> PowerStatus::Attribute(const fs::path& supply, const char* name) {
    std::ifstream file(supply / name);
    std::string line;
    if (!file || !std::getline(file, line)) {
        return std::nullopt;
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
    return line;
}

PowerReading PowerStatus::Read() const {
    const auto battery = FirstBattery();
    PowerReading reading;
    reading.acLine = AcLine(battery);
    if (!battery) {
        reading.batteryFlag = battery_flag::kNoBattery;
        return reading;
    }
    reading.batteryFlag = BatteryFlag(*battery);
    reading.percent = Percent(*battery);
    return reading;
}

// Batteries of peripherals (a wireless mouse) have the scope "Device" and do not count.
std::optional<fs::path> PowerStatus::FirstBattery() const {
    for (const fs::path& supply : SuppliesIn(folder_)) {
        if (Attribute(supply, "type") == "Battery" && Attribute(supply, "scope") != "Device") {
            return supply;
        }
    }
    return std::nullopt;
}

// On external power when any external supply is online. Without an external supply
// that can be read, the battery's own status tells whether it is discharging.
std::uint8_t PowerStatus::AcLine(const std::optional<fs::path>& battery) const {
    bool anyReadable = false;
    for (const fs::path& supply : SuppliesIn(folder_)) {
        const auto type = Attribute(supply, "type");
        if (!type || *type == "Battery") {
            continue;
        }
        const auto online = Attribute(supply, "online");
        if (!online) {
            continue;
        }
        anyReadable = true;
        if (ParseInt(*online).value_or(0) > 0) {
            return 1;
        }
    }
    if (anyReadable) {
        return 0;
    }
    if (battery) {
        const auto status = Attribute(*battery, "status");
        if (status == "Discharging") {
            return 0;
        }
        if (status == "Charging") {
            return 1;
        }
    }
    return PowerReading::kUnknown;
}

std::uint8_t PowerStatus::BatteryFlag(const fs::path& battery) {
    const bool charging = Attribute(battery, "status") == "Charging";
    const auto level = Attribute(battery, "capacity_level");
    std::uint8_t flag = 0;
    if (level == "Critical") {
        flag = battery_flag::kCritical;
    } else if (level == "Low") {
        flag = battery_flag::kLow;
    } else if (level == "High" || level == "Normal" || level == "Full") {
        flag = battery_flag::kHigh;
    } else if (!charging) {
        return battery_flag::kUnknown;
    }
    return static_cast<std::uint8_t>(flag | (charging ? battery_flag::kCharging : 0));
}

std::uint8_t PowerStatus::Percent(const fs::path& battery) {
    const auto capacity = Attribute(battery, "capacity");
    const auto value = capacity ? ParseInt(*capacity) : std::nullopt;
    if (!value) {
        return PowerReading::kUnknown;
    }
    return static_cast<std::uint8_t>(std::clamp(*value, 0, 100));
}
