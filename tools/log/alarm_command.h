#pragma once

#include <sys/types.h>

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The --on-alarm command: started for each alarm start with the alarm in its
// environment, without a shell, one at a time (a start that comes while the command runs
// waits its turn) and never waited for by the log.
class AlarmCommand {
  public:
    // One variable of the command's environment.
    using Variable = std::pair<std::string, std::string>;

    // Splits `command` into words: blanks separate them, '…' and "…" quote, a backslash
    // takes the next character as it is; nothing else is expanded. Empty, with `error`
    // set, for an unclosed quote or no words at all.
    static std::optional<std::vector<std::string>> Words(std::string_view command,
                                                         std::string& error);
    // The program of `words` can be started: a path that is executable, or a name found in
    // PATH.
    static bool Startable(const std::string& program);

    // `words` may be empty: nothing is ever run. With `outputToStderr` the command's
    // standard output goes to standard error (when the rows use standard output).
    AlarmCommand(std::vector<std::string> words, bool outputToStderr);
    ~AlarmCommand();
    AlarmCommand(const AlarmCommand&) = delete;
    AlarmCommand& operator=(const AlarmCommand&) = delete;

    // Runs the command with these variables added to the environment, now or after the
    // ones before it.
    void Run(std::vector<Variable> variables);
    // Notices an ended command and starts the next waiting one; call often. Problems are
    // told on standard error.
    void Poll();
    // Waits until every waiting command has run and ended, at most `seconds`; the number
    // left unstarted.
    std::size_t Finish(int seconds);

  private:
    void StartNext();

    std::vector<std::string> words_;
    bool outputToStderr_;
    std::deque<std::vector<Variable>> waiting_;
    pid_t running_ = -1;
};
