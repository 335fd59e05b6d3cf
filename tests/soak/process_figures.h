#pragma once

#include <cstddef>
#include <ostream>

// What the soak test watches of its own process, read from /proc/self.
struct ProcessFigures {
    std::size_t residentKiB = 0;  // VmRSS
    std::size_t threads = 0;
    std::size_t openDescriptors = 0;

    static ProcessFigures OfThisProcess();
};

std::ostream& operator<<(std::ostream& out, const ProcessFigures& figures);
