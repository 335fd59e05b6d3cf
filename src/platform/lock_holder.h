#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Who holds the advisory whole-file lock on a file: the process as the system's lock
// table names it, for telling the user which program has a device.
struct LockHolder {
    int processId = 0;
    std::string command;  // the process's command name; empty when it cannot be read

    // "quorvel-imager, process 1234", or "process 1234" without a command name.
    std::string Text() const;
};

namespace lock_holder {

// The holder of a whole-file lock on `file` (symbolic links followed), from the lines of
// `lockTable` (the format of /proc/locks); none when no lock on that file is listed.
std::optional<LockHolder> Find(const std::filesystem::path& file,
                               const std::filesystem::path& lockTable = "/proc/locks");

}  // namespace lock_holder
