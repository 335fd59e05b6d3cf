#include "publish/mqtt_topics.h"

#include <unistd.h>

#include <array>

#include "publish/mqtt_address.h"

std::string mqtt_topics::DefaultPrefix(std::string_view hostName, std::uint16_t headSerial) {
    std::string host(hostName);
    for (char& c : host) {
        if (c == '/' || c == '+' || c == '#' || static_cast<unsigned char>(c) < 0x20) {
            c = '_';
        }
    }
    if (host.empty()) {
        host = "_";
    }
    return "quorvel/" + host + "/" + std::to_string(headSerial);
}

std::string mqtt_topics::LocalHostName() {
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return name.data();
}

void mqtt_topics::CheckPrefix(std::string_view prefix) {
    const auto refuse = [prefix](std::string_view reason) {
        throw MqttSetupError("invalid topic prefix \"" + std::string(prefix) +
                             "\": " + std::string(reason));
    };
    if (prefix.empty()) {
        refuse("it is empty");
    }
    if (prefix.find_first_of("+#") != std::string_view::npos) {
        refuse("the wildcards + and # cannot be published to");
    }
    if (prefix.find('\0') != std::string_view::npos) {
        refuse("it holds a NUL character");
    }
    if (prefix.back() == '/') {
        refuse("it ends with '/'");
    }
}
