#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The command line of quorvel-imager, read before the window system is touched so that
// --help, --version and mistakes need no display. Options of Qt itself (-platform NAME
// and the like) are left for Qt.
struct ImagerOptions {
    enum class Action { kRun, kHelp, kVersion, kUsageError };

    Action action = Action::kRun;
    std::optional<std::string> port;           // --port DEVICE
    std::optional<std::string> log;            // --log FILE
    std::chrono::milliseconds logEvery{1000};  // --log-every DURATION
    std::vector<std::string> files;            // the arguments that are not options
    std::string error;                         // what is wrong, for kUsageError
};

namespace imager_command_line {

// The exit code of a command line that cannot be used.
inline constexpr int kUsageExitCode = 2;

// `arguments` without the program name.
ImagerOptions Parse(std::span<const std::string> arguments);
std::string HelpText();

}  // namespace imager_command_line
