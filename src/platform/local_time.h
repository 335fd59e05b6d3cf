#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// The current time and local-time conversions. Local time is the C library's: the
// time zone comes from TZ, the date and time forms from the environment's locale
// (LC_ALL, LC_TIME, LANG).
namespace local_time {

// Seconds since 1970-01-01 00:00 UTC.
std::int64_t Now();

// `time` broken down in the local time zone (TZ is read again at every call).
std::tm Breakdown(std::int64_t time);

// The locale's short date ("%x") and time ("%X") forms of `local`.
std::string ShortDate(const std::tm& local);
std::string ShortTime(const std::tm& local);

// `time` in local time as ISO 8601 with the zone's offset, "2026-12-08T14:31:41+01:00";
// with `millisecond` (0..999) the seconds carry three decimals, "…T14:31:41.250+01:00".
std::string Iso8601(std::int64_t time, std::optional<int> millisecond = std::nullopt);

}  // namespace local_time
