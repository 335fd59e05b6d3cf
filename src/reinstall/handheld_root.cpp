#include "reinstall/handheld_root.h"

#include <cstdlib>
#include <string>
#include <utility>

HandheldRoot::HandheldRoot(std::filesystem::path folder) : folder_(std::move(folder)) {}

HandheldRoot HandheldRoot::FromEnvironment() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] != '\0') {
        return HandheldRoot(std::filesystem::path(dataHome) / "therlix-handheld");
    }
    const char* home = std::getenv("HOME");
    return HandheldRoot(std::filesystem::path(home != nullptr ? home : "/") / ".local" / "share" /
                        "therlix-handheld");
}

std::filesystem::path HandheldRoot::Map(std::string_view handheldPath) const {
    std::filesystem::path result = folder_;
    std::size_t start = 0;
    while (start <= handheldPath.size()) {
        std::size_t end = handheldPath.find('\\', start);
        if (end == std::string_view::npos) {
            end = handheldPath.size();
        }
        if (end > start) {
            result /= std::string(handheldPath.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}
