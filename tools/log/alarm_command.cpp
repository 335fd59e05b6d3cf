#include "log/alarm_command.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

// More alarm starts than this waiting for the command are dropped (and told).
constexpr std::size_t kMostWaiting = 100;

// The spawn attributes and file actions of one start, released with it.
class SpawnSetup {
  public:
    explicit SpawnSetup(bool outputToStderr) {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
        posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        if (outputToStderr) {
            posix_spawn_file_actions_adddup2(&actions_, STDERR_FILENO, STDOUT_FILENO);
        }
        posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
        // Its own process group, so that a Ctrl+C ending the log does not cut it short;
        // the signals the log ignores or blocks are the command's defaults again.
        sigset_t none;
        sigemptyset(&none);
        sigset_t reset;
        sigemptyset(&reset);
        sigaddset(&reset, SIGPIPE);
        posix_spawnattr_setsigmask(&attributes_, &none);
        posix_spawnattr_setsigdefault(&attributes_, &reset);
        posix_spawnattr_setpgroup(&attributes_, 0);
        posix_spawnattr_setflags(
            &attributes_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawn_file_actions_t* Actions() const { return &actions_; }
    const posix_spawnattr_t* Attributes() const { return &attributes_; }

  private:
    posix_spawn_file_actions_t actions_{};
    posix_spawnattr_t attributes_{};
};

// This process's environment with `variables` set.
std::vector<std::string> Environment(const std::vector<AlarmCommand::Variable>& variables) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const auto& [name, value] : variables) {
            replaced = replaced || text.starts_with(name + "=");
        }
        if (!replaced) {
            entries.push_back(text);
        }
    }
    for (const auto& [name, value] : variables) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::optional<std::vector<std::string>> AlarmCommand::Words(std::string_view command,
                                                            std::string& error) {
    std::vector<std::string> words;
    std::optional<std::string> word;
    char quote = '\0';
    for (std::size_t k = 0; k < command.size(); ++k) {
        const char c = command[k];
        if (quote != '\0' && c == quote) {
            quote = '\0';
        } else if (quote == '\'') {
            word->push_back(c);
        } else if (c == '\\' && k + 1 < command.size()) {
            word = word.value_or("") + command[++k];
        } else if (quote == '\0' && (c == '\'' || c == '"')) {
            quote = c;
            word = word.value_or("");
        } else if (quote == '\0' && (c == ' ' || c == '\t' || c == '\n')) {
            if (word) {
                words.push_back(std::move(*word));
                word.reset();
            }
        } else {
            word = word.value_or("") + c;
        }
    }
    if (quote != '\0') {
        error = "--on-alarm: the command has an unclosed quote";
        return std::nullopt;
    }
    if (word) {
        words.push_back(std::move(*word));
    }
    if (words.empty()) {
        error = "--on-alarm needs a command";
        return std::nullopt;
    }
    return words;
}

bool AlarmCommand::Startable(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return ::access(program.c_str(), X_OK) == 0;
    }
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        if (::access((folder + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

AlarmCommand::AlarmCommand(std::vector<std::string> words, bool outputToStderr)
    : words_(std::move(words)), outputToStderr_(outputToStderr) {}

AlarmCommand::~AlarmCommand() {
    // A command still running is left to finish on its own.
    Poll();
}

void AlarmCommand::Run(std::vector<Variable> variables) {
    if (words_.empty()) {
        return;
    }
    if (waiting_.size() == kMostWaiting) {
        std::fputs("quorvel-log: too many alarms wait for the --on-alarm command; one dropped\n",
                   stderr);
        return;
    }
    waiting_.push_back(std::move(variables));
    Poll();
}

void AlarmCommand::Poll() {
    if (running_ > 0) {
        int status = 0;
        const pid_t ended = ::waitpid(running_, &status, WNOHANG);
        if (ended == 0) {
            return;
        }
        if (ended == running_ && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
            std::fprintf(stderr, "quorvel-log: the --on-alarm command %s %d\n",
                         WIFEXITED(status) ? "ended with code" : "was ended by signal",
                         WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
        }
        running_ = -1;
    }
    StartNext();
}

void AlarmCommand::StartNext() {
    while (running_ < 0 && !waiting_.empty()) {
        std::vector<std::string> environment = Environment(waiting_.front());
        waiting_.pop_front();
        std::vector<std::string> arguments = words_;
        const SpawnSetup setup(outputToStderr_);
        pid_t pid = -1;
        const int error =
            ::posix_spawnp(&pid, arguments[0].c_str(), setup.Actions(), setup.Attributes(),
                           Pointers(arguments).data(), Pointers(environment).data());
        if (error != 0) {
            std::fprintf(stderr, "quorvel-log: cannot start the --on-alarm command %s: %s\n",
                         arguments[0].c_str(), std::strerror(error));
            continue;
        }
        running_ = pid;
    }
}

std::size_t AlarmCommand::Finish(int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    Poll();
    while ((running_ > 0 || !waiting_.empty()) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Poll();
    }
    return waiting_.size();
}
