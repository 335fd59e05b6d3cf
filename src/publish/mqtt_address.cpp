#include "publish/mqtt_address.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

constexpr std::string_view kPlainScheme = "mqtt://";
constexpr std::string_view kSecureScheme = "mqtts://";
constexpr int kPlainPort = 1883;
constexpr int kSecurePort = 8883;

[[noreturn]] void Refuse(std::string_view url, std::string_view reason) {
    throw MqttSetupError("invalid broker URL \"" + std::string(url) + "\": " + std::string(reason));
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(), [](char wanted, char given) {
               return std::tolower(static_cast<unsigned char>(given)) == wanted;
           });
}

bool IsNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

bool IsAddressSixCharacter(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
}

int ParsePort(std::string_view url, std::string_view digits) {
    int port = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
        port < 1 || port > 65535) {
        Refuse(url, "the port must be a number from 1 to 65535");
    }
    return port;
}

}  // namespace

MqttAddress MqttAddress::Parse(std::string_view url) {
    MqttAddress address;
    std::string_view rest;
    if (StartsWithIgnoringCase(url, kSecureScheme)) {
        address.secure = true;
        address.port = kSecurePort;
        rest = url.substr(kSecureScheme.size());
    } else if (StartsWithIgnoringCase(url, kPlainScheme)) {
        address.port = kPlainPort;
        rest = url.substr(kPlainScheme.size());
    } else {
        Refuse(url, "it must start with mqtt:// or mqtts://");
    }
    if (rest.find('@') != std::string_view::npos) {
        Refuse(url, "give the user name and the password file as options, not in the URL");
    }
    if (!rest.empty() && rest.back() == '/') {
        rest.remove_suffix(1);
    }
    if (rest.find_first_of("/?#") != std::string_view::npos) {
        Refuse(url, "only a host and a port may follow the scheme");
    }
    std::string_view host = rest;
    std::string_view port;
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) {
            Refuse(url, "the IPv6 address has no closing bracket");
        }
        host = rest.substr(1, close - 1);
        const std::string_view after = rest.substr(close + 1);
        if (!after.empty() && after.front() != ':') {
            Refuse(url, "only a port may follow the IPv6 address");
        }
        if (host.empty() || !std::all_of(host.begin(), host.end(), IsAddressSixCharacter)) {
            Refuse(url, "the address in brackets is not an IPv6 address");
        }
        if (!after.empty()) {
            address.port = ParsePort(url, after.substr(1));
        }
        address.host = std::string(host);
        return address;
    }
    const std::size_t colon = rest.find(':');
    if (colon != std::string_view::npos) {
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        if (port.find(':') != std::string_view::npos) {
            Refuse(url, "write an IPv6 address in brackets, e.g. mqtt://[::1]:1883");
        }
        address.port = ParsePort(url, port);
    }
    if (host.empty()) {
        Refuse(url, "the host is missing");
    }
    if (!std::all_of(host.begin(), host.end(), IsNameCharacter)) {
        Refuse(url, "the host may hold only letters, digits, '-', '.' and '_'");
    }
    address.host = std::string(host);
    return address;
}

std::string MqttAddress::Text() const {
    const bool six = host.find(':') != std::string::npos;
    return (six ? "[" + host + "]" : host) + ":" + std::to_string(port);
}
