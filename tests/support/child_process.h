#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// How a test process starts.
struct ChildProcessOptions {
    // The test's own when empty.
    std::filesystem::path workingFolder = {};
    // Variables changed from the test's environment.
    std::map<std::string, std::string> environment = {};
    // Where standard output and error go (appended); the test's own when empty.
    std::string outputFile = {};
};

// A process started (or adopted) by a test. If it still runs when the object goes, it
// is killed and reaped, so no test leaves a process or a zombie behind.
class ChildProcess {
  public:
    using Options = ChildProcessOptions;

    // Starts arguments[0] with `arguments`, no shell. A process that cannot be started
    // fails the test; Started() is then false.
    explicit ChildProcess(const std::vector<std::string>& arguments, const Options& options = {});
    // Takes over a child the test started some other way.
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    bool Signal(int signalNumber) const;
    // True once the process catches `signalNumber` with a handler of its own.
    bool Catches(int signalNumber) const;
    bool HasEnded();
    // Waits at most `limit` for the process to end; its wait status, or nothing.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);

    // Reaps any child of the test process that ends within `limit` (children adopted as
    // a subreaper included): its id and wait status.
    static std::optional<std::pair<pid_t, int>> WaitForAnyChild(std::chrono::milliseconds limit);
    // True when a wait status says the process exited normally with `code`.
    static bool ExitedWith(int status, int code);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

}  // namespace test_support
