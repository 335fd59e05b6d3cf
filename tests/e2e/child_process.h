#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A program started for a test, with its own environment and its output sent to a
// file. Killed when the object goes out of scope and it still runs.
class ChildProcess {
  public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment,
                 const std::string& outputFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    bool Signal(int signalNumber) const;
    // True once the process catches `signalNumber` with a handler of its own.
    bool Catches(int signalNumber) const;
    // Waits up to `limit` for the process to end; its wait status, or nullopt.
    std::optional<int> WaitFor(std::chrono::milliseconds limit);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};
