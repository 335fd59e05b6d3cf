#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// Reads and writes files as a whole.
namespace whole_file {

// The bytes of a regular file; nullopt when it does not exist or cannot be opened.
// Throws FileError (kReadFailed) when reading the opened file fails.
std::optional<std::vector<std::uint8_t>> Read(const std::filesystem::path& path);

// Writes `bytes` to a temporary file in the same folder, flushes it to the disk and
// renames it over `path`, so that an interrupted write never loses the old file.
// Throws FileError (kCannotOpen when the temporary file cannot be created,
// kWriteFailed for the later steps); the old file is then left as it was.
void WriteAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace whole_file
