#include "document/settings_store.h"

#include <unistd.h>

#include "platform/device_root.h"
#include "platform/file_error.h"
#include "platform/whole_file.h"

std::filesystem::path settings_store::HostPath() {
    return device_root::Map(kFile);
}

std::optional<std::vector<std::uint8_t>> settings_store::Read() {
    const std::filesystem::path path = HostPath();
    auto bytes = whole_file::Read(path);
    if (bytes && bytes->empty()) {
        ::unlink(path.c_str());
        return std::nullopt;
    }
    return bytes;
}

void settings_store::Write(const std::vector<std::uint8_t>& bytes) {
    try {
        whole_file::WriteAtomically(HostPath(), bytes);
    } catch (const FileError& error) {
        if (error.GetReason() != FileError::Reason::kCannotOpen) {
            throw;
        }
    }
}
