#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "document/document_record.h"

// One input file could not be used; the message names the reason, the path is kept
// apart so that every report can put it first.
class SnapError : public std::runtime_error {
  public:
    SnapError(std::filesystem::path path, const std::string& reason)
        : std::runtime_error(reason), path_(std::move(path)) {}
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// A snapshot or settings file read completely.
struct SnapshotFile {
    std::filesystem::path path;
    float version = 0.0f;
    DocumentRecord record;
};

namespace snapshot_file {

// Reads and decodes the whole file. Throws SnapError for a missing file, a folder, an
// unreadable file, an unknown format version or data that ends early.
SnapshotFile Load(const std::filesystem::path& path);

}  // namespace snapshot_file
