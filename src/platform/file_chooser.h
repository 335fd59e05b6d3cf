#pragma once

#include <filesystem>
#include <optional>

// Lets the user pick a file to open, on behalf of the commands. The GUI implements it
// with the standard file dialog; tests script the choices.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // A snapshot file to open, the choice starting in `folder`; empty when cancelled.
    virtual std::optional<std::filesystem::path> ChooseSnapshot(
        const std::filesystem::path& folder) = 0;
};
