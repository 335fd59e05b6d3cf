// quorvel-headsim: a simulated thermal sensor head on a pseudo-terminal.

#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "headsim/head_options.h"
#include "headsim/head_session.h"
#include "headsim/pseudo_terminal.h"
#include "headsim/symbolic_link.h"
#include "platform/device_root.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: the wait returns at once
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

std::optional<std::filesystem::path> LinkPath(const HeadOptions& options) {
    if (options.linkDeviceRoot) {
        return device_root::ComPort(1);
    }
    if (options.linkPath) {
        return std::filesystem::path(*options.linkPath);
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    HeadOptions options;
    std::string error;
    if (!ParseHeadOptions(arguments, options, error)) {
        std::cerr << "quorvel-headsim: " << error << "\nTry quorvel-headsim --help.\n";
        return 2;
    }
    if (options.help) {
        std::cout << HeadOptionsHelp();
        return 0;
    }
    InstallStopHandlers();
    auto terminal = PseudoTerminal::Open(error);
    if (!terminal) {
        std::cerr << "quorvel-headsim: " << error << '\n';
        return 1;
    }
    const auto linkPath = LinkPath(options);
    const auto link =
        linkPath ? SymbolicLink::Create(*linkPath, terminal->SlavePath(), error) : std::nullopt;
    if (linkPath && !link) {
        std::cerr << "quorvel-headsim: " << error << '\n';
        return 1;
    }
    std::cout << terminal->SlavePath() << std::endl;
    HeadSession session(options, *terminal, std::cerr);
    session.Run(stopRequested);
    return 0;
}
