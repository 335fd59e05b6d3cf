#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A device root in a fresh temporary folder for one test: XDG_DATA_HOME points at it while
// the object lives; afterwards the variable is restored and the folder removed.
class TemporaryDeviceRoot {
  public:
    TemporaryDeviceRoot();
    ~TemporaryDeviceRoot();
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    // <temporary folder>/therlix-handheld, created.
    const std::filesystem::path& Root() const { return root_; }
    // The host path of a handheld path ("\A\B" → <root>/A/B).
    std::filesystem::path Path(std::string_view handheldPath) const;
    // Writes a file at a handheld path, creating its folders.
    void Put(std::string_view handheldPath, const std::string& content) const;

    static std::string ReadFile(const std::filesystem::path& file);

  private:
    std::filesystem::path base_;
    std::filesystem::path root_;
    std::optional<std::string> previous_;
};
