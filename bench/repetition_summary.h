#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

// The console output of Google Benchmark, reduced to the aggregates when benchmarks are
// repeated, that also keeps the CPU time per iteration of every repetition, so that
// medians, spreads and ratios between benchmarks can be printed after the run.
class RepetitionSummary : public benchmark::ConsoleReporter {
  public:
    struct Figures {
        double median = 0.0;
        double lowest = 0.0;
        double highest = 0.0;
        int count = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override;

    // Empty figures (count 0) for a benchmark that did not run.
    Figures Of(const std::string& name) const;

  private:
    std::map<std::string, std::vector<double>> times_;
};

// One line of the summary: the median time and the spread of `name`, in microseconds,
// and the ratio of `name`'s median to `baseline`'s (skipped when either is missing).
void PrintSummaryLine(std::ostream& out, const RepetitionSummary& summary, const std::string& label,
                      const std::string& name, const std::string& baseline);
