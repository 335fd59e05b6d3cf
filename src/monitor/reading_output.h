#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "monitor/reading.h"

// Where a log's rows go: a file, standard output, and whatever else is plugged in. Each
// output reports its own failure.
class ReadingOutput {
  public:
    virtual ~ReadingOutput() = default;

    // Empty when written; otherwise what went wrong, naming the output ("FILE: reason").
    virtual std::optional<std::string> Write(const Reading& reading) = 0;
    virtual std::optional<std::string> Write(const AlarmEvent& event) = 0;
    // For an output that works in the background: reports what happened since the last
    // call.
    virtual void Poll() {}
    // Ends the output in order: sends or writes what still waits.
    virtual void Close() {}
};

// The outputs of one log, each given every row in turn.
class ReadingOutputs {
  public:
    void Add(std::unique_ptr<ReadingOutput> output) { outputs_.push_back(std::move(output)); }
    bool Empty() const { return outputs_.empty(); }
    void Poll() {
        for (const auto& output : outputs_) {
            output->Poll();
        }
    }
    void Close() {
        for (const auto& output : outputs_) {
            output->Close();
        }
    }

    // Every output's failure, in the order the outputs were added.
    template <typename Row>
    std::vector<std::string> Write(const Row& row) {
        std::vector<std::string> failures;
        for (const auto& output : outputs_) {
            if (auto failure = output->Write(row)) {
                failures.push_back(std::move(*failure));
            }
        }
        return failures;
    }

  private:
    std::vector<std::unique_ptr<ReadingOutput>> outputs_;
};
