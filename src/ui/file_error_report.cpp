#include "ui/file_error_report.h"

#include "platform/file_error.h"

namespace {

const char* Headline(FileError::Reason reason) {
    switch (reason) {
        case FileError::Reason::kReadFailed:
            return "Could not read the file";
        case FileError::Reason::kWriteFailed:
            return "Could not write the file";
        case FileError::Reason::kCannotOpen:
            break;
    }
    return "Could not open or create the file";
}

// The system's reason follows the path and ": " in the error's own description.
std::string Reason(const FileError& error) {
    const std::string description = error.what();
    const std::string marker = error.Path().string() + ": ";
    const std::size_t at = description.find(marker);
    return at == std::string::npos ? std::string() : description.substr(at + marker.size());
}

}  // namespace

std::string file_error_report::Text(const FileError& error) {
    std::string text = std::string(Headline(error.GetReason())) + "\n" + error.Path().string();
    if (const std::string reason = Reason(error); !reason.empty()) {
        text += "\n" + reason;
    }
    return text;
}
