#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

// A file operation failed. Carries the host path and the reason; raised by file
// helpers and passed on to the command that caused it, whose handler reports it.
class FileError : public std::runtime_error {
  public:
    enum class Reason {
        kCannotOpen,   // the file could not be opened or created
        kReadFailed,   // reading the opened file failed
        kWriteFailed,  // writing, flushing or replacing the file failed
    };

    FileError(std::filesystem::path path, Reason reason, const std::string& detail);

    const std::filesystem::path& Path() const { return path_; }
    Reason GetReason() const { return reason_; }

  private:
    std::filesystem::path path_;
    Reason reason_;
};
