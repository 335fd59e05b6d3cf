#pragma once

#include <cstdint>
#include <string>

#include "display/screen_rect.h"
#include "display/text_placement.h"
#include "platform/power_status.h"

class StringResources;

// What the battery gauge shows for a power reading: the charge text, the state icon
// and where both go.
class BatteryReadout {
  public:
    static constexpr int kExternalPowerText = 155;
    static constexpr int kUnknownChargeText = 156;
    static constexpr int kIconSize = 16;

    // "100%" or text 155 on external power; otherwise the percent ("57%"), or text 156
    // when it is unknown. Missing texts are empty.
    static std::string Text(const PowerReading& reading, const StringResources* strings);
    // Icon 145 high, 146 low, 147 critical, 148 charging, 149 no battery, else 150.
    static int IconId(std::uint8_t batteryFlag);

    static TextPlacement TextPlacementIn(const ScreenRect& client);
    static ScreenPoint IconOrigin(const ScreenRect& client);
};
