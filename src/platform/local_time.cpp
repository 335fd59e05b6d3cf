#include "platform/local_time.h"

#include <locale.h>

#include <chrono>

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
