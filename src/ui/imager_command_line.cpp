#include "ui/imager_command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Qt's own options, in their one-dash form (Qt takes two dashes as well).
constexpr std::array<std::string_view, 16> kQtOptionsWithValue{
    "-platform",        "-platformpluginpath",
    "-platformtheme",   "-plugin",
    "-qwindowgeometry", "-geometry",
    "-qwindowicon",     "-icon",
    "-qwindowtitle",    "-title",
    "-display",         "-name",
    "-style",           "-stylesheet",
    "-session",         "-qmljsdebugger"};
constexpr std::array<std::string_view, 5> kQtFlags{"-reverse", "-nograb", "-dograb", "-sync",
                                                   "-widgetcount"};

std::string_view OneDash(std::string_view option) {
    return option.starts_with("--") ? option.substr(1) : option;
}

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view option) {
    return std::find(list.begin(), list.end(), OneDash(option)) != list.end();
}

ImagerOptions UsageError(std::string error) {
    ImagerOptions options;
    options.action = ImagerOptions::Action::kUsageError;
    options.error = std::move(error);
    return options;
}

}  // namespace

ImagerOptions imager_command_line::Parse(std::span<const std::string> arguments) {
    ImagerOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            options.files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            options.action = ImagerOptions::Action::kHelp;
            return options;
        } else if (argument == "--version") {
            options.action = ImagerOptions::Action::kVersion;
            return options;
        } else if (argument == "--port" || argument.starts_with("--port=")) {
            if (argument == "--port" && i + 1 == arguments.size()) {
                return UsageError("--port needs a serial device");
            }
            options.port = argument == "--port" ? arguments[++i] : argument.substr(7);
            if (options.port->empty()) {
                return UsageError("--port needs a serial device");
            }
        } else if (Contains(kQtOptionsWithValue, argument)) {
            ++i;  // Qt takes the option and its value
        } else if (!Contains(kQtFlags, argument)) {
            return UsageError("unknown option '" + argument + "'");
        }
    }
    return options;
}

std::string imager_command_line::HelpText() {
    return "Usage: quorvel-imager [--port DEVICE] [FILE]\n"
           "The live thermal viewer and snapshot manager for the Quorvel sensor head.\n"
           "\n"
           "  FILE           show this snapshot or settings file instead of the live picture\n"
           "  --port DEVICE  use the serial device DEVICE (for example /dev/ttyUSB0) instead\n"
           "                 of COM1 of the device root\n"
           "  --help         show this text and end\n"
           "  --version      show the version and end\n"
           "\n"
           "Qt's own options (-platform NAME and the like) are passed on to Qt.\n";
}
