#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Just enough JSON for one-line records: quoted strings and objects whose members are
// given as ready JSON values, kept in the order they were added.
namespace json_text {

// The text as a JSON string, quotes included; UTF-8 passes through.
std::string Quote(std::string_view text);

// A number with as many digits as single precision needs to read back the same.
std::string Number(double value, int significantDigits);

using Members = std::vector<std::pair<std::string, std::string>>;

// {"key":value,...} on one line.
std::string Object(const Members& members);
// [value,...] on one line.
std::string Array(const std::vector<std::string>& values);

}  // namespace json_text
