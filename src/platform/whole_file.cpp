#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/file_error.h"

namespace {

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Close() {
        int result = 0;
        if (fd_ >= 0) {
            result = ::close(fd_);
            fd_ = -1;
        }
        return result;
    }

  private:
    int fd_;
};

std::string ErrnoText(int error) {
    return std::strerror(error);
}

void WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::filesystem::path& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(path, FileError::Reason::kWriteFailed, ErrnoText(errno));
        }
        done += static_cast<std::size_t>(written);
    }
}

// Makes the rename itself durable; a folder that cannot be synced is not an error.
void SyncFolder(const std::filesystem::path& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        ::fsync(fd.Get());
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> WholeFile::Read(const std::filesystem::path& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(path, FileError::Reason::kReadFailed, ErrnoText(errno));
        }
        if (got == 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

void WholeFile::WriteAtomically(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes) {
    std::string temporary = path.string() + ".XXXXXX";
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (!fd.Valid()) {
        throw FileError(path, FileError::Reason::kCannotOpen, ErrnoText(errno));
    }
    try {
        ::fchmod(fd.Get(), 0644);
        WriteAll(fd.Get(), bytes, path);
        if (::fsync(fd.Get()) != 0 || fd.Close() != 0) {
            throw FileError(path, FileError::Reason::kWriteFailed, ErrnoText(errno));
        }
        if (::rename(temporary.c_str(), path.c_str()) != 0) {
            throw FileError(path, FileError::Reason::kWriteFailed, ErrnoText(errno));
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    SyncFolder(path.parent_path());
}
