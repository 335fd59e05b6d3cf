#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// The settings file, \Program Files\Therlix Imager\Persist.dat: the archive the
// program leaves at exit and finds at start.
namespace settings_store {

inline constexpr const char* kFile = "\\Program Files\\Therlix Imager\\Persist.dat";

std::filesystem::path HostPath();

// The file's bytes; empty when there is no file or it cannot be opened. A zero-length
// file (what an interrupted write of earlier versions left) is removed and counts as
// none. A failed read raises FileError.
std::optional<std::vector<std::uint8_t>> Read();

// Replaces the file atomically. A file that cannot be created is silently not
// written; other failures raise FileError.
void Write(const std::vector<std::uint8_t>& bytes);

}  // namespace settings_store
