#pragma once

#include <iosfwd>

struct SnapOptions;
class StringResources;

namespace snap_run {

inline constexpr int kAllDone = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kUsageError = 2;

// Runs the command over every input file. Results go to `out` (info) or to files
// written whole or not at all; each failure is one line on `err` naming the file.
// kSomeFailed when any file failed. `strings` gives the legend its language texts
// and may be null.
int Run(const SnapOptions& options, const StringResources* strings, std::ostream& out,
        std::ostream& err);

}  // namespace snap_run
