#include "temporary_device_root.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

TemporaryDeviceRoot::TemporaryDeviceRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "relumo-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    base_ = name.data();
    root_ = base_ / "therlix-handheld";
    std::filesystem::create_directories(root_);
    if (const char* previous = std::getenv("XDG_DATA_HOME")) {
        previous_ = previous;
    }
    setenv("XDG_DATA_HOME", base_.c_str(), 1);
}

TemporaryDeviceRoot::~TemporaryDeviceRoot() {
    if (previous_) {
        setenv("XDG_DATA_HOME", previous_->c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
    std::error_code ignored;
    std::filesystem::permissions(base_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(base_, ignored);
}

std::filesystem::path TemporaryDeviceRoot::Path(std::string_view handheldPath) const {
    std::filesystem::path result = root_;
    std::string name;
    for (char c : handheldPath) {
        if (c == '\\') {
            if (!name.empty()) {
                result /= name;
            }
            name.clear();
        } else {
            name.push_back(c);
        }
    }
    if (!name.empty()) {
        result /= name;
    }
    return result;
}

void TemporaryDeviceRoot::Put(std::string_view handheldPath, const std::string& content) const {
    const std::filesystem::path file = Path(handheldPath);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::string TemporaryDeviceRoot::ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
