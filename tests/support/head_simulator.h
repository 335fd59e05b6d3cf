#pragma once

#include <string>
#include <vector>

#include "support/child_process.h"

namespace test_support {

// quorvel-headsim, built beside the tests, running as a child process with `options`
// and its standard output discarded; ended with SIGTERM as it would be by hand.
class HeadSimulator {
  public:
    explicit HeadSimulator(const std::vector<std::string>& options);
    ~HeadSimulator() { Stop(); }
    HeadSimulator(const HeadSimulator&) = delete;
    HeadSimulator& operator=(const HeadSimulator&) = delete;

    bool Started() const { return process_.Started(); }
    // Sends SIGTERM and waits; the exit code, or -1 when it did not exit normally.
    int Stop();

  private:
    ChildProcess process_;
    int exitCode_ = -1;
    bool stopped_ = false;
};

}  // namespace test_support
