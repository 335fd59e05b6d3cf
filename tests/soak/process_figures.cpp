#include "soak/process_figures.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

// The number after "<name>:" in /proc/self/status (kB for the memory lines).
std::size_t StatusValue(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0) {
            std::istringstream fields(line.substr(name.size() + 1));
            std::size_t value = 0;
            fields >> value;
            return value;
        }
    }
    return 0;
}

std::size_t OpenDescriptors() {
    // The listing's own descriptor is open while it runs; it is not counted.
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries))) - 1;
}

}  // namespace

ProcessFigures ProcessFigures::OfThisProcess() {
    return {StatusValue("VmRSS"), StatusValue("Threads"), OpenDescriptors()};
}

std::ostream& operator<<(std::ostream& out, const ProcessFigures& figures) {
    return out << "RSS " << figures.residentKiB << " KiB, " << figures.threads << " threads, "
               << figures.openDescriptors << " open descriptors";
}
