#pragma once

#include <cstdint>
#include <string>

#include "display/screen_rect.h"
#include "display/text_placement.h"
#include "platform/power_status.h"

class StringResources;

// What the battery gauge shows for a power reading: the charge text, the state icon
// and where both go.
namespace battery_readout {

inline constexpr int kExternalPowerText = 155;
inline constexpr int kUnknownChargeText = 156;
inline constexpr int kIconSize = 16;

// "100%" or text 155 on external power; otherwise the percent ("57%"), or text 156
// when it is unknown. Missing texts are empty.
std::string Text(const PowerReading& reading, const StringResources* strings);
// Icon 145 high, 146 low, 147 critical, 148 charging, 149 no battery, else 150.
int IconId(std::uint8_t batteryFlag);

TextPlacement TextPlacementIn(const ScreenRect& client);
ScreenPoint IconOrigin(const ScreenRect& client);

}  // namespace battery_readout
