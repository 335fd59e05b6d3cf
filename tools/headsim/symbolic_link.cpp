#include "headsim/symbolic_link.h"

#include <unistd.h>

#include <system_error>

namespace fs = std::filesystem;

std::optional<SymbolicLink> SymbolicLink::Create(const fs::path& path, const fs::path& target,
                                                 std::string& error) {
    std::error_code failure;
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), failure);
    }
    const auto status = fs::symlink_status(path, failure);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        error = path.string() + " exists and is not a symbolic link";
        return std::nullopt;
    }
    // Made beside it and renamed over it, so the entry never goes missing in between.
    fs::path temporary = path;
    temporary += ".headsim-" + std::to_string(::getpid());
    fs::remove(temporary, failure);
    fs::create_symlink(target, temporary, failure);
    if (!failure) {
        fs::rename(temporary, path, failure);
    }
    if (failure) {
        fs::remove(temporary, failure);
        error = "cannot link " + path.string() + ": " + failure.message();
        return std::nullopt;
    }
    return SymbolicLink(path, target);
}

SymbolicLink::SymbolicLink(SymbolicLink&& other) noexcept
    : path_(std::move(other.path_)), target_(std::move(other.target_)) {
    other.path_.clear();
}

SymbolicLink& SymbolicLink::operator=(SymbolicLink&& other) noexcept {
    if (this != &other) {
        Remove();
        path_ = std::move(other.path_);
        target_ = std::move(other.target_);
        other.path_.clear();
    }
    return *this;
}

SymbolicLink::~SymbolicLink() {
    Remove();
}

void SymbolicLink::Remove() noexcept {
    if (path_.empty()) {
        return;
    }
    std::error_code failure;
    if (fs::read_symlink(path_, failure) == target_ && !failure) {
        fs::remove(path_, failure);
    }
    path_.clear();
}
