#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "headsim/simulated_head.h"

// The command line of quorvel-headsim.
struct HeadOptions {
    struct SerialChange {
        double afterSeconds = 0.0;
        std::uint16_t serialNumber = 0;
    };

    SimulatedHeadConfig head;
    double framesPerSecond = 8.0;
    std::optional<std::string> linkPath;  // a symbolic link made to the slave side
    bool linkDeviceRoot = false;          // link <device root>/COM1
    std::optional<SerialChange> serialChange;
    double garbageBytes = 0.0;  // average random bytes sent before each frame
    std::uint32_t seed = 1;
    bool verbose = false;
    bool help = false;
};

// The three ranges the simulated head offers unless told otherwise.
std::vector<SimulatedRange> DefaultSimulatedRanges();
// Pads `text` with spaces to the mark position and puts 'H' there.
std::string WithHighTemperatureMark(std::string text);

// Parses the arguments after the program name. False, with `error` set, on a mistake.
bool ParseHeadOptions(std::span<const std::string> arguments, HeadOptions& options,
                      std::string& error);
std::string HeadOptionsHelp();
