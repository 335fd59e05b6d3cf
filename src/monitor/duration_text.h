#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace duration_text {

// A positive duration as a user writes it: a number, whole or with decimals, followed by
// ms, s, m (or min), h or d; without a unit, seconds. "1s", "0.5s", "250ms", "10m", "2h".
// Empty when the text is none of these, is not above 0 or exceeds a year.
std::optional<std::chrono::milliseconds> Parse(std::string_view text);

}  // namespace duration_text
