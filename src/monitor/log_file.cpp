#include "monitor/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_error.h"

namespace {

// Enough of a file's start to hold any header this log writes.
constexpr std::size_t kHeaderLimit = 4096;

// The first line of the file at `path`, newline included when there is one.
std::string FirstLine(const std::filesystem::path& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid()) {
        return {};
    }
    std::string text(kHeaderLimit, '\0');
    const ssize_t got = ::read(fd.Get(), text.data(), text.size());
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    const std::size_t end = text.find('\n');
    return end == std::string::npos ? text : text.substr(0, end + 1);
}

bool HoldsSomething(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0;
}

}  // namespace

std::unique_ptr<LogFile> LogFile::Open(const std::filesystem::path& path, RowFormat format) {
    std::unique_ptr<LogFile> file(new LogFile(format, path.string()));
    file->path_ = path;
    file->OpenPath();
    return file;
}

std::unique_ptr<LogFile> LogFile::OnDescriptor(int fd, std::string name, RowFormat format) {
    std::unique_ptr<LogFile> file(new LogFile(format, std::move(name)));
    file->fd_ = fd;
    const std::string header = format.Header();
    if (!header.empty() && !HoldsSomething(fd)) {
        // A failure shows again with the first row.
        file->WriteAll(header);
    }
    return file;
}

void LogFile::OpenPath() {
    UniqueFd fd(::open(path_->c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOCTTY | O_CLOEXEC, 0644));
    struct stat status {};
    if (!fd.Valid() || ::fstat(fd.Get(), &status) != 0) {
        throw FileError(*path_, FileError::Reason::kCannotOpen, std::strerror(errno));
    }
    const std::string header = format_.Header();
    const bool regular = S_ISREG(status.st_mode);
    if (regular && status.st_size > 0 && !header.empty() && FirstLine(*path_) != header) {
        throw FileError(*path_, FileError::Reason::kCannotOpen,
                        "it holds rows of other columns than this log writes");
    }
    owned_ = std::move(fd);
    fd_ = owned_.Get();
    // Devices and pipes (/dev/null, a FIFO) have no name to follow.
    device_ = regular ? status.st_dev : 0;
    inode_ = regular ? status.st_ino : 0;
    if (regular && status.st_size == 0 && !header.empty()) {
        if (const int error = WriteAll(header); error != 0) {
            throw FileError(*path_, FileError::Reason::kWriteFailed, std::strerror(error));
        }
    }
}

std::optional<std::string> LogFile::FollowTheName() {
    if (!path_ || inode_ == 0) {
        return std::nullopt;
    }
    struct stat status {};
    if (::stat(path_->c_str(), &status) == 0 && status.st_dev == device_ &&
        status.st_ino == inode_) {
        return std::nullopt;
    }
    try {
        OpenPath();
    } catch (const FileError& error) {
        return name_ + ": the file was moved or removed, and " + error.what();
    }
    return std::nullopt;
}

std::optional<std::string> LogFile::Write(const Reading& reading) {
    if (auto failure = FollowTheName()) {
        return failure;
    }
    return WriteLine(format_.Line(reading));
}

std::optional<std::string> LogFile::Write(const AlarmEvent& event) {
    if (auto failure = FollowTheName()) {
        return failure;
    }
    return WriteLine(format_.Line(event));
}

std::optional<std::string> LogFile::WriteLine(const std::string& line) {
    if (const int error = WriteAll(line); error != 0) {
        return name_ + ": " + std::strerror(error);
    }
    return std::nullopt;
}

int LogFile::WriteAll(const std::string& text) {
    // A row cut short (the disk filled up in its middle) is taken back, so that the file
    // holds whole rows only.
    const off_t before = inode_ != 0 ? ::lseek(fd_, 0, SEEK_END) : -1;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd_, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;
            if (done > 0 && before >= 0) {
                [[maybe_unused]] const int ignored = ::ftruncate(fd_, before);
            }
            return error;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
}
