#include "display/battery_readout.h"

#include "display/integer_format.h"
#include "platform/string_resources.h"

namespace {

std::string Resource(const StringResources* strings, int id) {
    return strings == nullptr ? std::string() : strings->String(id);
}

}  // namespace

std::string battery_readout::Text(const PowerReading& reading, const StringResources* strings) {
    if (reading.acLine == 1) {
        return reading.percent == 100 ? "100%" : Resource(strings, kExternalPowerText);
    }
    if (reading.percent > 100) {
        return Resource(strings, kUnknownChargeText);
    }
    return FormatIntegers("%d%%", {reading.percent});
}

int battery_readout::IconId(std::uint8_t batteryFlag) {
    switch (batteryFlag) {
        case battery_flag::kHigh:
            return 145;
        case battery_flag::kLow:
            return 146;
        case battery_flag::kCritical:
            return 147;
        case battery_flag::kCharging:
            return 148;
        case battery_flag::kNoBattery:
            return 149;
        default:
            return 150;
    }
}

TextPlacement battery_readout::TextPlacementIn(const ScreenRect& client) {
    return {client.Deflated(3, 2, 2, 2), HorizontalAlign::kCentre, VerticalAlign::kTop};
}

// Centred on the text rectangle's width, measured from the control's left edge.
ScreenPoint battery_readout::IconOrigin(const ScreenRect& client) {
    return {client.Deflated(3, 2, 2, 2).Width() / 2 - 5, 16};
}
