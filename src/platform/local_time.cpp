#include "platform/local_time.h"

#include <locale.h>

#include <chrono>
#include <cstdio>

namespace {

// strftime in the environment's time locale, without touching the process locale.
std::string FormatInEnvironmentLocale(const std::tm& local, const char* format) {
    locale_t locale = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        locale = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    }
    char buffer[128];
    std::size_t length = 0;
    if (locale != static_cast<locale_t>(nullptr)) {
        length = ::strftime_l(buffer, sizeof buffer, format, &local, locale);
        ::freelocale(locale);
    } else {
        length = std::strftime(buffer, sizeof buffer, format, &local);
    }
    return std::string(buffer, length);
}

}  // namespace

std::int64_t local_time::Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::tm local_time::Breakdown(std::int64_t time) {
    ::tzset();
    const std::time_t value = static_cast<std::time_t>(time);
    std::tm local{};
    if (::localtime_r(&value, &local) == nullptr) {
        local = std::tm{};
        local.tm_mday = 1;
        local.tm_year = 70;
    }
    return local;
}

std::string local_time::ShortDate(const std::tm& local) {
    return FormatInEnvironmentLocale(local, "%x");
}

std::string local_time::ShortTime(const std::tm& local) {
    return FormatInEnvironmentLocale(local, "%X");
}

std::string local_time::Iso8601(std::int64_t time, std::optional<int> millisecond) {
    const std::tm local = Breakdown(time);
    char seconds[8] = "";
    if (millisecond) {
        std::snprintf(seconds, sizeof seconds, ".%03d", *millisecond % 1000);
    }
    // tm_gmtoff is the zone's offset east of UTC in seconds, daylight saving included.
    const long offset = local.tm_gmtoff;
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%s%c%02ld:%02ld",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, seconds, offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return text;
}
