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

// Writes `bytes` to a new temporary file beside `path` and flushes it to the disk; its
// name. Throws FileError (kCannotOpen, kWriteFailed); nothing is then left behind.
std::string WriteTemporary(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
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
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    return temporary;
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
    const std::string temporary = WriteTemporary(path, bytes);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw FileError(path, FileError::Reason::kWriteFailed, ErrnoText(error));
    }
    SyncFolder(path.parent_path());
}

bool whole_file::WriteNew(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    const std::string temporary = WriteTemporary(path, bytes);
    // A hard link never replaces an existing name, unlike a rename. File systems without
    // hard links (FAT) get the name reserved by an exclusive create and renamed over.
    bool created = ::link(temporary.c_str(), path.c_str()) == 0;
    int error = errno;
    if (!created && (error == EPERM || error == EOPNOTSUPP)) {
        UniqueFd reserved(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        error = errno;
        created = reserved.Valid() && ::rename(temporary.c_str(), path.c_str()) == 0;
        if (reserved.Valid() && !created) {
            error = errno;
            ::unlink(path.c_str());
        }
    }
    ::unlink(temporary.c_str());
    if (!created && error != EEXIST) {
        throw FileError(path, FileError::Reason::kWriteFailed, ErrnoText(error));
    }
    if (created) {
        SyncFolder(path.parent_path());
    }
    return created;
}
