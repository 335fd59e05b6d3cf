#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "monitor/reading_output.h"
#include "monitor/row_format.h"
#include "platform/unique_fd.h"

// A log's rows as text: a file opened for appending, or standard output. The header goes
// only into a new (empty) file; every row goes out whole in one write, with nothing kept
// back in a buffer. A file that is renamed or removed while the log runs (log rotation)
// is created again under its name, with a header.
class LogFile : public ReadingOutput {
  public:
    // Opens `path` for appending. Raises FileError when it cannot be opened or created,
    // or when it already holds rows of other columns (a CSV header that differs).
    static std::unique_ptr<LogFile> Open(const std::filesystem::path& path, RowFormat format);
    // Rows to the open descriptor `fd` (not owned; standard output), called `name` in
    // failures. The header is written unless `fd` is a file that holds something already.
    static std::unique_ptr<LogFile> OnDescriptor(int fd, std::string name, RowFormat format);

    std::optional<std::string> Write(const Reading& reading) override;
    std::optional<std::string> Write(const AlarmEvent& event) override;

  private:
    LogFile(RowFormat format, std::string name) : format_(format), name_(std::move(name)) {}
    // Opens the file at path_ (throws FileError) and writes the header into a new one.
    void OpenPath();
    // Opens the file again when its name no longer leads to the open file.
    std::optional<std::string> FollowTheName();
    std::optional<std::string> WriteLine(const std::string& line);
    // Writes all of `text`; 0, or the system's error number.
    int WriteAll(const std::string& text);

    RowFormat format_;
    std::string name_;
    std::optional<std::filesystem::path> path_;
    UniqueFd owned_;
    int fd_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};
