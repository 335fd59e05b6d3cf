#include "support/head_simulator.h"

#include <sys/wait.h>

#include <chrono>
#include <csignal>

namespace test_support {

namespace {

std::vector<std::string> WithProgram(const std::vector<std::string>& options) {
    std::vector<std::string> arguments{QUORVEL_HEADSIM_PATH};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

}  // namespace

HeadSimulator::HeadSimulator(const std::vector<std::string>& options)
    : process_(WithProgram(options), {.outputFile = "/dev/null"}) {}

int HeadSimulator::Stop() {
    if (stopped_ || !process_.Started()) {
        return exitCode_;
    }
    stopped_ = true;
    process_.Signal(SIGTERM);
    const auto status = process_.WaitForExit(std::chrono::seconds(10));
    if (status && WIFEXITED(*status)) {
        exitCode_ = WEXITSTATUS(*status);
    }
    return exitCode_;
}

}  // namespace test_support
