#include "platform/device_root.h"

#include <cstdlib>
#include <string>

std::filesystem::path device_root::Folder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::filesystem::path base;
    if (dataHome != nullptr && dataHome[0] != '\0') {
        base = dataHome;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr ? home : "/") / ".local" / "share";
    }
    return base / "therlix-handheld";
}

std::filesystem::path device_root::Map(std::string_view handheldPath) {
    std::filesystem::path result = Folder();
    std::string component;
    auto flush = [&] {
        if (!component.empty()) {
            result /= component;
            component.clear();
        }
    };
    for (char c : handheldPath) {
        if (c == '\\' || c == '/') {
            flush();
        } else {
            component.push_back(c);
        }
    }
    flush();
    return result;
}

std::filesystem::path device_root::ComPort(int number) {
    return Folder() / ("COM" + std::to_string(number));
}
