#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Formats a pattern from the language texts with integer arguments, printf style, but
// safely: only %d, %i and %u (with an optional 0 or - flag and a width) take the next
// argument and %% gives a percent sign; any other conversion, or one without an
// argument left, is copied as it stands.
std::string FormatIntegers(std::string_view pattern, std::initializer_list<long long> values);
