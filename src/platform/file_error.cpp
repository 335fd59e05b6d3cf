#include "platform/file_error.h"

#include <utility>

namespace {

std::string Describe(const std::filesystem::path& path, FileError::Reason reason,
                     const std::string& detail) {
    const char* what = "cannot open";
    if (reason == FileError::Reason::kReadFailed) {
        what = "cannot read";
    } else if (reason == FileError::Reason::kWriteFailed) {
        what = "cannot write";
    }
    std::string text = std::string(what) + " " + path.string();
    if (!detail.empty()) {
        text += ": " + detail;
    }
    return text;
}

}  // namespace

FileError::FileError(std::filesystem::path path, Reason reason, const std::string& detail)
    : std::runtime_error(Describe(path, reason, detail)), path_(std::move(path)), reason_(reason) {}
