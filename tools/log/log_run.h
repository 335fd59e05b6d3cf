#pragma once

#include "log/log_options.h"

namespace log_run {

inline constexpr int kRuntimeErrorExitCode = 1;
inline constexpr int kAlarmExitCode = 3;

// Runs quorvel-log with `options` until its end (a count, a duration, a signal, an alarm
// with --exit-on-alarm, a failure); the exit code.
int Run(const LogOptions& options);

}  // namespace log_run
