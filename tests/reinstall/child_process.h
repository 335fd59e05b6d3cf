#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A process started (or adopted) by a test. If it is still running when the object goes,
// it is killed and reaped, so no test leaves a process or a zombie behind.
class ChildProcess {
  public:
    // Starts arguments[0] with `arguments`, the test's environment, and the given working
    // folder (the test's own when empty). Throws when the process cannot be started.
    explicit ChildProcess(const std::vector<std::string>& arguments,
                          const std::filesystem::path& workingFolder = {});
    // Takes over a child the test started some other way.
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    bool HasEnded();
    // Waits at most `limit` for the process to end; its wait status, or nothing.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);

    // Reaps any child of the test process that ends within `limit` (children adopted as a
    // subreaper included): its id and wait status.
    static std::optional<std::pair<pid_t, int>> WaitForAnyChild(std::chrono::milliseconds limit);

    // True when a wait status says the process exited normally with `code`.
    static bool ExitedWith(int status, int code);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};
