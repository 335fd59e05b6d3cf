#include "installer/object_store.h"

#include <cstdlib>
#include <string>

std::filesystem::path ObjectStore::Folder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] != '\0') {
        return std::filesystem::path(dataHome) / "therlix-handheld";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/") / ".local" / "share" /
           "therlix-handheld";
}

std::filesystem::path ObjectStore::Map(const std::filesystem::path& root,
                                       std::string_view handheldPath) {
    std::filesystem::path result = root;
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
