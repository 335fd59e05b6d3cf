#include "monitor/duration_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace {

using Unit = std::pair<std::string_view, double>;  // suffix, milliseconds

constexpr std::array<Unit, 6> kUnits{{
    {"ms", 1.0},
    {"s", 1000.0},
    {"min", 60'000.0},
    {"m", 60'000.0},
    {"h", 3'600'000.0},
    {"d", 86'400'000.0},
}};

constexpr double kLongest = 366.0 * 86'400'000.0;

}  // namespace

std::optional<std::chrono::milliseconds> duration_text::Parse(std::string_view text) {
    double number = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::fixed);
    if (error != std::errc() || end == text.data()) {
        return std::nullopt;
    }
    const std::string_view suffix(end, static_cast<std::size_t>(text.data() + text.size() - end));
    double scale = suffix.empty() ? 1000.0 : 0.0;
    for (const auto& [name, milliseconds] : kUnits) {
        if (suffix == name) {
            scale = milliseconds;
        }
    }
    const double total = std::round(number * scale);
    if (!(scale > 0.0) || !(total >= 1.0) || total > kLongest) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(static_cast<long long>(total));
}
