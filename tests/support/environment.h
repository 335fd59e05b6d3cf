#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace test_support {

// Sets environment variables for the lifetime of the object and restores them after;
// the C library's time zone is read again after every change.
class ScopedEnvironment {
  public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const std::string& name, const std::string& value) { Set(name, value); }
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const std::string& name, const std::string& value);
    void Unset(const std::string& name);

  private:
    void Save(const std::string& name);

    std::map<std::string, std::optional<std::string>> saved_;
};

// A fresh temporary folder, removed with everything in it when the object goes.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// A device root in a fresh temporary folder: XDG_DATA_HOME points at it and
// XDG_CONFIG_HOME at its subfolder "config" while the object lives; afterwards the
// variables are restored and the folder removed.
class TemporaryDeviceRoot {
  public:
    // The locale and time zone the test runs in: as they are; the C locale in UTC; or
    // English (United States) through LANG, LC_ALL and LC_MESSAGES unset.
    enum class Locale { kUnchanged, kCInUtc, kEnglish };

    explicit TemporaryDeviceRoot(Locale locale = Locale::kUnchanged);
    ~TemporaryDeviceRoot();
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    // The folder XDG_DATA_HOME names.
    const std::filesystem::path& Home() const { return home_; }
    // <home>/therlix-handheld, created.
    const std::filesystem::path& Root() const { return root_; }
    // The host path of a handheld path ("\A\B" → <root>/A/B).
    std::filesystem::path Host(std::string_view handheldPath) const;
    std::filesystem::path SettingsFile() const;
    // Writes a file at a handheld path, creating its folders.
    void Put(std::string_view handheldPath, const std::string& content) const;
    // The whole content of a file; empty when it cannot be read.
    static std::string ReadText(const std::filesystem::path& file);
    // More variables for the test, restored with XDG_DATA_HOME.
    ScopedEnvironment& Environment() { return environment_; }

  private:
    TemporaryFolder folder_;
    std::filesystem::path home_;
    std::filesystem::path root_;
    ScopedEnvironment environment_;
};

}  // namespace test_support
