#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The installation package format read from its description alone (magic, folder,
// entries with mode, size and CRC-32, nothing after the last), for the package reader
// fuzz target to compare the installer against.
namespace package_model {

struct File {
    std::string name;
    std::uint32_t mode = 0;
    std::vector<std::uint8_t> bytes;
};

struct Package {
    std::string folder;
    std::vector<File> files;
};

// The package the bytes hold, or nothing when any rule is broken: bad magic, a folder
// or name that could leave the install folder, a mode beyond 07777, a length past the
// end, a CRC mismatch, a name given twice, bytes after the last entry.
std::optional<Package> Parse(std::span<const std::uint8_t> bytes);

// The bytes of a well-formed package.
std::vector<std::uint8_t> Build(const Package& package);

}  // namespace package_model
