#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

// Starts a program without a shell and without waiting for it.
namespace installer_launcher {

// Starts `program` with exactly one argument, `argument`, in `workingFolder`. The new
// process inherits the environment and standard input, output and error, but no other
// open file. Returns its process id, or nothing when it could not be started (program
// missing or not executable, working folder missing).
std::optional<pid_t> Start(const std::filesystem::path& program, const std::string& argument,
                           const std::filesystem::path& workingFolder);

}  // namespace installer_launcher
