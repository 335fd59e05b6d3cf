#include "installer/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>
#include <vector>

namespace {

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

OutputFile::OutputFile(std::filesystem::path destination) : destination_(std::move(destination)) {
    const std::filesystem::path folder = destination_.parent_path();
    std::string pattern = (folder / ".partial-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        ThrowErrno("cannot create a file in " + folder.string());
    }
    temporary_ = name.data();
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) {
        close(fd_);
        unlink(temporary_.c_str());
    }
}

void OutputFile::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd_, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno("cannot write " + destination_.string());
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

void OutputFile::Commit(std::uint32_t mode) {
    if (fchmod(fd_, static_cast<mode_t>(mode & 07777)) != 0) {
        ThrowErrno("cannot set the mode of " + destination_.string());
    }
    if (fsync(fd_) != 0) {
        ThrowErrno("cannot flush " + destination_.string());
    }
    const int fd = std::exchange(fd_, -1);
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temporary_.c_str());
        throw std::system_error(error, std::generic_category(),
                                "cannot write " + destination_.string());
    }
    if (std::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        const int error = errno;
        unlink(temporary_.c_str());
        throw std::system_error(error, std::generic_category(),
                                "cannot rename into " + destination_.string());
    }
}
