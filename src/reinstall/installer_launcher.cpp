#include "reinstall/installer_launcher.h"

#include <spawn.h>

#include <string>
#include <system_error>

extern char** environ;

namespace {

// The file actions of one spawn, released when it goes out of scope.
class SpawnActions {
  public:
    SpawnActions() { valid_ = posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnActions() {
        if (valid_) {
            posix_spawn_file_actions_destroy(&actions_);
        }
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    bool Prepare(const std::filesystem::path& workingFolder) {
        return valid_ &&
               posix_spawn_file_actions_addchdir_np(&actions_, workingFolder.c_str()) == 0 &&
               posix_spawn_file_actions_addclosefrom_np(&actions_, 3) == 0;
    }
    const posix_spawn_file_actions_t* Get() const { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_{};
    bool valid_ = false;
};

}  // namespace

std::optional<pid_t> installer_launcher::Start(const std::filesystem::path& program,
                                               const std::string& argument,
                                               const std::filesystem::path& workingFolder) {
    // The working folder is entered before the program is looked up, so a relative program
    // path would be taken from the wrong folder.
    std::error_code error;
    const std::filesystem::path absoluteProgram = std::filesystem::absolute(program, error);
    if (error) {
        return std::nullopt;
    }
    SpawnActions actions;
    if (!actions.Prepare(workingFolder)) {
        return std::nullopt;
    }
    std::string programName = absoluteProgram.string();
    std::string argumentCopy = argument;
    char* arguments[] = {programName.data(), argumentCopy.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, programName.c_str(), actions.Get(), nullptr, arguments, environ) != 0) {
        return std::nullopt;
    }
    return pid;
}
