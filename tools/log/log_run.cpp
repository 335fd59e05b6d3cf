#include "log/log_run.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "acquisition/acquisition_thread.h"
#include "acquisition/link_frame_source.h"
#include "display/unit_names.h"
#include "link/imager_link.h"
#include "log/alarm_command.h"
#include "log/status_line.h"
#include "monitor/interval_frames.h"
#include "monitor/interval_loop.h"
#include "monitor/log_file.h"
#include "monitor/reading_log.h"
#include "platform/device_root.h"
#include "platform/file_error.h"
#include "publish/mqtt_output.h"
#include "publish/sqlite_output.h"

namespace {

using Clock = std::chrono::steady_clock;

// The log polls the head more often than the imager (75 ms), so that a head at the line's
// full rate (a frame about every 48 ms) loses hardly a frame to the next one; each poll is
// a wake-up of the thread, so not much more often than that.
constexpr std::chrono::milliseconds kPassInterval{40};
// How long the end waits for alarm commands still to run.
constexpr int kCommandGraceSeconds = 10;

std::atomic<IntervalLoop*> runningLoop{nullptr};

void RequestStop(int) {
    if (IntervalLoop* loop = runningLoop.load()) {
        loop->RequestStop();
    }
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    // A closed pipe and a file grown to its size limit show as write errors of the row,
    // which name them.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
}

void Complain(const std::string& text) {
    std::fprintf(stderr, "quorvel-log: %s\n", text.c_str());
}

// The port of the options; false when the log cannot go on. A device that is not there
// yet is waited for, as for a head unplugged later.
bool OpenPort(ImagerLink& link, const std::filesystem::path& device) {
    if (link.Open(device)) {
        return true;
    }
    const int error = link.OpenError();
    if (error == ENOENT || error == ENODEV || error == ENXIO) {
        Complain(device.string() + ": " + std::strerror(error) + "; waiting for the head");
        return true;
    }
    if (error == EBUSY) {
        Complain(device.string() + ": in use by another program");
        return false;
    }
    Complain("cannot open the serial device " + device.string() + ": " + std::strerror(error));
    if (error == EACCES) {
        Complain(
            "serial devices belong to the 'dialout' group; add yourself with "
            "'sudo usermod -aG dialout $USER' and log in again");
    }
    return false;
}

// The snapshot folder of the options, created when it is missing; throws FileError.
SnapshotFolder PrepareSnapshotFolder(const LogOptions& options) {
    const SnapshotFolder folder = options.snapshotFolder
                                      ? SnapshotFolder::OnHost(*options.snapshotFolder)
                                      : SnapshotFolder(SnapshotFolder::kDefaultFolder);
    const std::filesystem::path host = folder.HostFolder();
    std::error_code error;
    std::filesystem::create_directories(host, error);
    if (!std::filesystem::is_directory(host) || ::access(host.c_str(), W_OK) != 0) {
        throw FileError(host, FileError::Reason::kCannotOpen,
                        error ? error.message() : std::strerror(errno));
    }
    return folder;
}

ReadingLogOptions LogOptionsOf(const LogOptions& options, SnapshotFolder folder) {
    ReadingLogOptions log;
    log.every = options.every;
    log.alarms = options.alarms;
    log.hysteresisKelvin = options.hysteresisKelvin;
    log.snapshotEvery = options.snapshotEvery;
    log.snapshotOnAlarm = options.snapshotOnAlarm;
    log.snapshotFolder = std::move(folder);
    return log;
}

LogSettings SettingsOf(const LogOptions& options) {
    LogSettings settings;
    settings.correction = options.correction;
    settings.averageCount = options.average;
    for (const FrameCell& spot : options.spots) {
        settings.spots.emplace_back(spot);
    }
    return settings;
}

std::unique_ptr<LogFile> OpenFile(const LogOptions& options) {
    const RowFormat format(options.format, static_cast<int>(options.spots.size()));
    if (options.output) {
        return LogFile::Open(*options.output, format);
    }
    return LogFile::OnDescriptor(STDOUT_FILENO, "standard output", format);
}

using Report = std::function<void(const std::string&)>;

// Every output of the options, opened; throws FileError, SqliteError or MqttSetupError.
ReadingOutputs OpenOutputs(const LogOptions& options, const Report& report) {
    ReadingOutputs outputs;
    outputs.Add(OpenFile(options));
    if (options.database) {
        auto database = std::make_unique<SqliteOutput>(
            *options.database, unit_names::Letter(options.correction.unit), report);
        database->Open();
        outputs.Add(std::move(database));
    }
    if (options.mqtt) {
        auto mqtt = std::make_unique<MqttOutput>(*options.mqtt,
                                                 static_cast<int>(options.spots.size()), report);
        mqtt->Start();
        outputs.Add(std::move(mqtt));
    }
    return outputs;
}

// The running log: everything one run needs, and what happens at each interval's end.
class LogSession {
  public:
    LogSession(const LogOptions& options, ReadingOutputs outputs, StatusLine& status,
               SnapshotFolder folder)
        : options_(options),
          device_(options.port ? std::filesystem::path(*options.port) : device_root::ComPort(1)),
          frames_(SettingsOf(options)),
          outputs_(std::move(outputs)),
          log_([this] { return HeadStatus::Of(link_); }, frames_, outputs_,
               LogOptionsOf(options, std::move(folder))),
          loop_(options.every),
          command_(options.onAlarm, !options.output),
          status_(status) {
        // The log keeps no picture of its own: the thread only polls and shows each frame
        // to the log.
        picture_.live = false;
        acquisition_.AddFrameObserver(frames_);
    }

    int Go() {
        // From now on a signal ends the loop, also one that comes before it runs.
        runningLoop = &loop_;
        if (!OpenPort(link_, device_)) {
            runningLoop = nullptr;
            return log_run::kRuntimeErrorExitCode;
        }
        acquisition_.Start();
        const Clock::time_point start = Clock::now();
        end_ = options_.duration ? std::optional(start + *options_.duration) : std::nullopt;
        lastEnd_ = start;
        const bool stopped = loop_.Run(
            log_.Begin(start), [this](Clock::time_point now) { return IntervalEnded(now); },
            [this] { return Woke(); });
        if (stopped) {
            if (const auto last = log_.CloseLastInterval(Clock::now())) {
                Handle(*last);
            }
        }
        runningLoop = nullptr;
        acquisition_.Stop();
        link_.Close();
        status_.Clear();
        outputs_.Close();
        if (const std::size_t left = command_.Finish(kCommandGraceSeconds); left > 0) {
            Complain(std::to_string(left) + " alarm command(s) not run: the log ended");
        }
        return exitCode_;
    }

  private:
    bool IntervalEnded(Clock::time_point now) {
        const IntervalRows rows = log_.CloseInterval(now);
        status_.RowWritten(rows.reading, now - lastEnd_);
        lastEnd_ = now;
        ++rows_;
        return Handle(rows) && !(options_.count && rows_ >= *options_.count) &&
               !(end_ && now >= *end_);
    }

    bool Woke() {
        command_.Poll();
        outputs_.Poll();
        status_.Show(Clock::now());
        return true;
    }

    // False when the log must end.
    bool Handle(const IntervalRows& rows) {
        TellHeadChanges(rows.reading);
        for (const AlarmEvent& event : rows.alarms) {
            startedAlarms_ += event.started ? 1 : 0;
            if (event.started) {
                command_.Run(Variables(event, rows.reading));
            }
        }
        status_.AlarmsChanged(log_.ActiveAlarms(), startedAlarms_);
        if (!rows.failures.empty()) {
            status_.Clear();
            for (const std::string& failure : rows.failures) {
                Complain(failure);
            }
            exitCode_ = log_run::kRuntimeErrorExitCode;
            return false;
        }
        const bool alarmStarted = std::any_of(rows.alarms.begin(), rows.alarms.end(),
                                              [](const AlarmEvent& e) { return e.started; });
        if (options_.exitOnAlarm && alarmStarted) {
            exitCode_ = log_run::kAlarmExitCode;
            return false;
        }
        return true;
    }

    void TellHeadChanges(const Reading& reading) {
        if (reading.state == lastState_) {
            return;
        }
        if (!lastState_.empty() || reading.state != "ok") {
            status_.Clear();
            Complain(reading.state == "ok" ? device_.string() + ": the head answers"
                                           : device_.string() + ": no head answers");
        }
        lastState_ = reading.state;
    }

    std::vector<AlarmCommand::Variable> Variables(const AlarmEvent& event,
                                                  const Reading& reading) const {
        return {{"QUORVEL_ALARM", event.alarm},
                {"QUORVEL_ALARM_VALUE", event.value ? RowFormat::Number(*event.value) : ""},
                {"QUORVEL_ALARM_UNIT", event.unit ? unit_names::Letter(*event.unit) : "s"},
                {"QUORVEL_ALARM_TIME", event.timeText},
                {"QUORVEL_SNAPSHOT", event.snapshotPath},
                {"QUORVEL_HEAD", reading.headSerial ? std::to_string(*reading.headSerial) : ""},
                {"QUORVEL_DEVICE", device_.string()}};
    }

    const LogOptions& options_;
    std::filesystem::path device_;
    ImagerLink link_{nullptr};
    LinkFrameSource source_{link_};
    AcquisitionThread::SharedState picture_;
    AcquisitionThread acquisition_{source_, picture_, nullptr, kPassInterval};
    IntervalFrames frames_;
    ReadingOutputs outputs_;
    ReadingLog log_;
    IntervalLoop loop_;
    AlarmCommand command_;
    StatusLine& status_;
    std::optional<Clock::time_point> end_;
    Clock::time_point lastEnd_{};
    std::uint64_t rows_ = 0;
    int startedAlarms_ = 0;
    std::string lastState_;
    int exitCode_ = 0;
};

}  // namespace

int log_run::Run(const LogOptions& options) {
    InstallSignalHandlers();
    StatusLine status(!options.quiet && options.output && ::isatty(STDOUT_FILENO), Clock::now());
    const Report report = [&status](const std::string& text) {
        status.Clear();
        Complain(text);
    };
    ReadingOutputs outputs;
    std::optional<SnapshotFolder> folder;
    try {
        outputs = OpenOutputs(options, report);
        folder = (options.snapshotEvery || options.snapshotOnAlarm)
                     ? PrepareSnapshotFolder(options)
                     : SnapshotFolder(SnapshotFolder::kDefaultFolder);
    } catch (const MqttSetupError& error) {
        Complain(error.what());
        return log_options::kUsageExitCode;
    } catch (const std::runtime_error& error) {
        // A file or database that cannot be opened.
        Complain(error.what());
        return kRuntimeErrorExitCode;
    }
    LogSession session(options, std::move(outputs), status, std::move(*folder));
    return session.Go();
}
