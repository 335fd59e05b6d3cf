#pragma once

// A sensor head the test plays: it answers the program's commands as the simulated head
// does and, from the first command on (the program has opened the port), sends frames of
// a scene at a fixed rate, on a pseudo-terminal behind a symbolic link; it can be
// unplugged and plugged in again.

#include <atomic>
#include <chrono>
#include <climits>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "headsim/head_options.h"
#include "headsim/simulated_head.h"
#include "link/link_test_support.h"

namespace log_test {

class ScriptedHead {
  public:
    using Scene = std::function<ThermalFrame(int frameNumber)>;

    ScriptedHead(std::filesystem::path at, double framesPerSecond, Scene scene, int limit = INT_MAX)
        : at_(std::move(at)),
          period_(std::chrono::duration<double>(1.0 / framesPerSecond)),
          scene_(std::move(scene)),
          limit_(limit) {
        PlugIn();
    }
    ~ScriptedHead() { Unplug(); }
    ScriptedHead(const ScriptedHead&) = delete;
    ScriptedHead& operator=(const ScriptedHead&) = delete;

    int FramesSent() const { return sent_.load(); }
    const std::filesystem::path& Path() const { return at_; }

    // The master side closes, as when the head's cable is pulled.
    void Unplug() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (end_) {
            end_->Terminal().CloseMaster();
        }
    }

    // A new pseudo-terminal at the same path; frames go on.
    void PlugIn() {
        Unplug();
        end_.emplace(at_);
        ASSERT_TRUE(end_->Ready());
        stop_ = false;
        thread_ = std::thread([this] { Serve(); });
    }

  private:
    void Serve() {
        SimulatedHead head({71, DefaultSimulatedRanges(), 0x1234, 1});
        std::optional<std::chrono::steady_clock::time_point> next;
        while (!stop_) {
            for (const auto& command : end_->TakeCommands()) {
                next = next.value_or(std::chrono::steady_clock::now());
                if (const auto answer = head.Answer(command); !answer.empty()) {
                    end_->Send(answer);
                }
            }
            if (next && std::chrono::steady_clock::now() >= *next && sent_ < limit_) {
                end_->Send(head.FramePacket(scene_(sent_)));
                ++sent_;
                *next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(period_);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::filesystem::path at_;
    std::chrono::duration<double> period_;
    Scene scene_;
    int limit_;
    std::optional<link_test::HeadEnd> end_;
    std::atomic<int> sent_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace log_test
