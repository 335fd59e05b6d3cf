#pragma once

#include <chrono>
#include <thread>

namespace test_support {

// Polls `condition` with short sleeps until it holds or a generous deadline passes; the
// condition's last answer.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::seconds deadline = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace test_support
