#include "platform/lock_holder.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>
#include <sstream>

namespace {

// Reads "<pid> <major>:<minor>:<inode>" from a lock table line after its type fields,
// e.g. "1: FLOCK  ADVISORY  WRITE 1043 00:05:1032 0 EOF" (major and minor in hex).
struct LockLine {
    std::string kind;
    int processId = 0;
    unsigned major = 0;
    unsigned minor = 0;
    unsigned long long inode = 0;
};

std::optional<LockLine> ParseLine(const std::string& line) {
    std::istringstream fields(line);
    std::string ordinal, advisory, mode, where;
    LockLine parsed;
    if (!(fields >> ordinal >> parsed.kind)) {
        return std::nullopt;
    }
    if (parsed.kind == "->") {  // a waiter, listed under the holder
        return std::nullopt;
    }
    if (!(fields >> advisory >> mode >> parsed.processId >> where)) {
        return std::nullopt;
    }
    char colon1 = 0;
    char colon2 = 0;
    std::istringstream position(where);
    if (!(position >> std::hex >> parsed.major >> colon1 >> parsed.minor >> colon2 >> std::dec >>
          parsed.inode) ||
        colon1 != ':' || colon2 != ':') {
        return std::nullopt;
    }
    return parsed;
}

std::string CommandName(int processId) {
    std::ifstream comm("/proc/" + std::to_string(processId) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

}  // namespace

std::string LockHolder::Text() const {
    const std::string process = "process " + std::to_string(processId);
    return command.empty() ? process : command + ", " + process;
}

std::optional<LockHolder> lock_holder::Find(const std::filesystem::path& file,
                                            const std::filesystem::path& lockTable) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return std::nullopt;
    }
    std::ifstream table(lockTable);
    std::string line;
    while (std::getline(table, line)) {
        const auto lock = ParseLine(line);
        if (lock && lock->kind == "FLOCK" && lock->inode == status.st_ino &&
            lock->major == major(status.st_dev) && lock->minor == minor(status.st_dev)) {
            return LockHolder{lock->processId, CommandName(lock->processId)};
        }
    }
    return std::nullopt;
}
