#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Writes an installation package (see package_format.h) from files on disk.
class PackageWriter {
  public:
    struct Input {
        std::string name;  // the name the file gets in the install folder
        std::filesystem::path source;
    };

    // Writes `inputs` into a package at `output` that installs them into `installFolder`,
    // a handheld path in which '/' counts as '\'. The package appears only when complete.
    // Throws std::runtime_error (or std::system_error) describing the first failure.
    static void Write(const std::filesystem::path& output, std::string_view installFolder,
                      const std::vector<Input>& inputs);

    // The handheld form of a folder: every '/' becomes '\'.
    static std::string HandheldFolder(std::string_view folder);
};
