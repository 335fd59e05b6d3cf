#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// Reads and writes files as a whole.
namespace whole_file {

// Larger than any file this program writes (an archive is a few kilobytes); a larger
// file is refused, so that a hostile file never costs more than this in memory.
inline constexpr std::size_t kLargestReadable = 1024 * 1024;

// The bytes of a regular file; nullopt when it does not exist or cannot be opened, is
// not a regular file (a folder, a FIFO, a device) or holds more than kLargestReadable
// bytes. The open never waits (a FIFO without a writer). Throws FileError (kReadFailed)
// when reading the opened file fails.
std::optional<std::vector<std::uint8_t>> Read(const std::filesystem::path& path);

// Writes `bytes` to a temporary file in the same folder, flushes it to the disk and
// renames it over `path`, so that an interrupted write never loses the old file.
// Throws FileError (kCannotOpen when the temporary file cannot be created,
// kWriteFailed for the later steps); the old file is then left as it was.
void WriteAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Writes `bytes` as WriteAtomically does, but only as a new file: false, with nothing
// written, when `path` exists already. Throws FileError as WriteAtomically does.
bool WriteNew(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace whole_file
