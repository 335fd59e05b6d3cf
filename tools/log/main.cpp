// quorvel-log: logs what the sensor head sees over time, without a window.

#include <cstdio>
#include <string>
#include <vector>

#include "log/alarm_command.h"
#include "log/log_options.h"
#include "log/log_run.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const auto options = log_options::Parse(arguments, error);
    if (options && !options->onAlarm.empty() && !AlarmCommand::Startable(options->onAlarm[0])) {
        error = "--on-alarm: no program '" + options->onAlarm[0] + "' to run";
    }
    if (!error.empty()) {
        std::fprintf(stderr, "quorvel-log: %s\nTry 'quorvel-log --help'.\n", error.c_str());
        return log_options::kUsageExitCode;
    }
    if (options->action == LogOptions::Action::kHelp) {
        std::fputs(log_options::HelpText().c_str(), stdout);
        return 0;
    }
    if (options->action == LogOptions::Action::kVersion) {
        std::printf("quorvel-log %s\n", QUORVEL_VERSION);
        return 0;
    }
    return log_run::Run(*options);
}
