#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The topics a head's messages go to, all below one prefix.
namespace mqtt_topics {

// "quorvel/<host name>/<head serial number>". Characters that would split or widen a
// topic ('/', '+', '#', control characters) are replaced by '_' in the host name.
std::string DefaultPrefix(std::string_view hostName, std::uint16_t headSerial);
// The machine's host name, as gethostname() gives it; "localhost" when it has none.
std::string LocalHostName();
// Throws MqttSetupError when `prefix` cannot start a topic name (empty, wildcards, a
// NUL character, an empty level at the end).
void CheckPrefix(std::string_view prefix);

inline std::string Readings(std::string_view prefix) {
    return std::string(prefix) + "/readings";
}
inline std::string Alarms(std::string_view prefix) {
    return std::string(prefix) + "/alarms";
}
inline std::string Status(std::string_view prefix) {
    return std::string(prefix) + "/status";
}
inline std::string Dropped(std::string_view prefix) {
    return std::string(prefix) + "/dropped";
}

}  // namespace mqtt_topics
