#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/file_error.h"
#include "platform/unique_fd.h"

namespace {

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
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        ::fsync(fd.Get());
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> whole_file::Read(const std::filesystem::path& path) {
    // Non-blocking, so that opening a FIFO returns at once; only regular files are read.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid()) {
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    // The size the file claims is not trusted: it grows only with the bytes read.
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[4096];
    while (bytes.size() <= kLargestReadable) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(path, FileError::Reason::kReadFailed, ErrnoText(errno));
        }
        if (got == 0) {
            return bytes;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return std::nullopt;
}

void whole_file::WriteAtomically(const std::filesystem::path& path,
                                 std::span<const std::uint8_t> bytes) {
    std::string temporary = path.string() + ".XXXXXX";
    UniqueFd fd(::mkstemp(temporary.data()));
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
