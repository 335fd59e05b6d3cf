#include "document/json_text.h"

#include <cmath>
#include <cstdio>

std::string json_text::Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string json_text::Number(double value, int significantDigits) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", significantDigits, value);
    return text;
}

std::string json_text::Object(const Members& members) {
    std::string out = "{";
    for (const auto& [key, value] : members) {
        out += (out.size() > 1 ? "," : "") + Quote(key) + ":" + value;
    }
    return out + "}";
}

std::string json_text::Array(const std::vector<std::string>& values) {
    std::string out = "[";
    for (const std::string& value : values) {
        out += (out.size() > 1 ? "," : "") + value;
    }
    return out + "]";
}
