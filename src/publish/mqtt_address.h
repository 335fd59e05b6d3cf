#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// The MQTT settings cannot be used (a malformed URL, an unreadable password or CA file);
// the message says what is wrong. The program reports it as a command-line error.
class MqttSetupError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Where the broker is: mqtt://HOST[:PORT] (port 1883 by default) or mqtts://HOST[:PORT]
// (TLS, port 8883 by default). An IPv6 address is written in brackets: mqtt://[::1]:1883.
struct MqttAddress {
    bool secure = false;
    std::string host;
    int port = 1883;

    // Throws MqttSetupError naming the URL and what is wrong with it.
    static MqttAddress Parse(std::string_view url);
    // "host:port" for messages.
    std::string Text() const;
};
