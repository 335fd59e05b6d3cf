#include "support/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace test_support {

ScopedEnvironment::~ScopedEnvironment() {
    for (const auto& [name, old] : saved_) {
        if (old) {
            ::setenv(name.c_str(), old->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
    ::tzset();
}

void ScopedEnvironment::Save(const std::string& name) {
    if (saved_.find(name) == saved_.end()) {
        const char* old = std::getenv(name.c_str());
        saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
    }
}

void ScopedEnvironment::Set(const std::string& name, const std::string& value) {
    Save(name);
    ::setenv(name.c_str(), value.c_str(), 1);
    ::tzset();
}

void ScopedEnvironment::Unset(const std::string& name) {
    Save(name);
    ::unsetenv(name.c_str());
    ::tzset();
}

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary folder";
    }
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    // A test may have taken the owner's rights away to make a write fail.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

TemporaryDeviceRoot::TemporaryDeviceRoot(Locale locale)
    : home_(folder_.Path()), root_(home_ / "therlix-handheld") {
    std::filesystem::create_directories(root_);
    environment_.Set("XDG_DATA_HOME", home_.string());
    // The desktop configuration (the window's zoom and place) stays inside as well.
    environment_.Set("XDG_CONFIG_HOME", (home_ / "config").string());
    if (locale == Locale::kCInUtc) {
        environment_.Set("TZ", "UTC");
        environment_.Set("LC_ALL", "C");
    } else if (locale == Locale::kEnglish) {
        environment_.Unset("LC_ALL");
        environment_.Unset("LC_MESSAGES");
        environment_.Set("LANG", "en_US.UTF-8");
    }
}

TemporaryDeviceRoot::~TemporaryDeviceRoot() = default;

std::filesystem::path TemporaryDeviceRoot::Host(std::string_view handheldPath) const {
    std::filesystem::path result = root_;
    std::string part;
    for (char c : std::string(handheldPath) + "\\") {
        if (c == '\\') {
            if (!part.empty()) {
                result /= part;
            }
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    return result;
}

std::filesystem::path TemporaryDeviceRoot::SettingsFile() const {
    return Host("\\Program Files\\Therlix Imager\\Persist.dat");
}

void TemporaryDeviceRoot::Put(std::string_view handheldPath, const std::string& content) const {
    const std::filesystem::path file = Host(handheldPath);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) {
        ADD_FAILURE() << "cannot write " << file;
    }
}

std::string TemporaryDeviceRoot::ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace test_support
