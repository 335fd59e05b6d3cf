#include "repetition_summary.h"

#include <algorithm>
#include <cstdio>

void RepetitionSummary::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> shown;
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
            times_[run.run_name.function_name].push_back(run.GetAdjustedCPUTime());
        }
        if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) {
            shown.push_back(run);
        }
    }
    ConsoleReporter::ReportRuns(shown);
}

RepetitionSummary::Figures RepetitionSummary::Of(const std::string& name) const {
    const auto found = times_.find(name);
    if (found == times_.end() || found->second.empty()) {
        return {};
    }
    std::vector<double> times = found->second;
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    const double median =
        times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2.0;
    return {median, times.front(), times.back(), static_cast<int>(times.size())};
}

void PrintSummaryLine(std::ostream& out, const RepetitionSummary& summary, const std::string& label,
                      const std::string& name, const std::string& baseline) {
    const auto figures = summary.Of(name);
    if (figures.count == 0) {
        return;
    }
    char line[160];
    std::snprintf(line, sizeof line, "  %-22s %8.2f us  (%.2f .. %.2f over %d)", label.c_str(),
                  figures.median, figures.lowest, figures.highest, figures.count);
    out << line;
    const auto base = summary.Of(baseline);
    if (name != baseline && base.count > 0 && base.median > 0.0) {
        std::snprintf(line, sizeof line, "  %.2f x the fast path", figures.median / base.median);
        out << line;
    }
    out << '\n';
}
