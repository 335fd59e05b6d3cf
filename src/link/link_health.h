#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

// How well the line to the head carries frames, counted since the link was built.
// Received frames are the complete frame packets from the line; each is taken by a poll,
// dropped because a newer one replaced it before the poll came, or damaged. Damaged
// packets were complete but unusable: an unknown device type, or a frame of the wrong
// length.
struct LinkHealth {
    std::uint64_t framesReceived = 0;
    std::uint64_t framesTaken = 0;
    std::uint64_t framesDropped = 0;
    std::uint64_t packetsDamaged = 0;
    // Times the port was opened again after its device went away or could not be opened.
    std::uint64_t reconnections = 0;
    // When the last frame was taken; none before the first.
    std::optional<std::chrono::steady_clock::time_point> lastFrame;
};
