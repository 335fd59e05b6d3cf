#include "snap/snapshot_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "document/archive_exception.h"
#include "document/archive_reader.h"
#include "document/document_archive.h"
#include "platform/file_error.h"
#include "platform/unique_fd.h"
#include "platform/whole_file.h"

namespace {

// Versions 3.0 to 3.3; the tolerance covers the single-precision spelling of each.
constexpr float kOldestVersion = 3.0f;
constexpr float kVersionTolerance = 1e-4f;

// Why the whole-file reader refused `path`, which exists.
std::string RefusalReason(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::strerror(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return "not a regular file";
    }
    if (static_cast<std::uintmax_t>(status.st_size) > whole_file::kLargestReadable) {
        return "larger than 1 MiB";
    }
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid()) {
        return errno == EACCES ? "permission denied" : std::strerror(errno);
    }
    return "cannot be opened";
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw SnapError(path, "is a folder without snapshot files");
    }
    if (!std::filesystem::exists(path, error)) {
        throw SnapError(path, "no such file");
    }
    try {
        auto bytes = whole_file::Read(path);
        if (!bytes) {
            throw SnapError(path, RefusalReason(path));
        }
        return std::move(*bytes);
    } catch (const FileError& e) {
        throw SnapError(path, std::string("cannot be read: ") + e.what());
    }
}

float VersionOf(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    float version = 0.0f;
    try {
        ArchiveReader reader(bytes);
        version = reader.ReadFloat();
    } catch (const ArchiveException&) {
        throw SnapError(path, "not a snapshot file: too short for a document archive");
    }
    if (!std::isfinite(version) || version < kOldestVersion - kVersionTolerance ||
        version > document_archive::kVersion + kVersionTolerance) {
        throw SnapError(path, "not a snapshot file: unknown format version");
    }
    return version;
}

}  // namespace

SnapshotFile snapshot_file::Load(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    SnapshotFile file{path, VersionOf(path, bytes), DocumentRecord{}};
    if (!document_archive::Decode(bytes, file.record)) {
        char text[48];
        std::snprintf(text, sizeof text, "%.1f", static_cast<double>(file.version));
        throw SnapError(path, std::string("cut off: data ends early for format version ") + text);
    }
    return file;
}
