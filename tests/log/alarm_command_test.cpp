#include "log/alarm_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

using Words = std::vector<std::string>;

std::optional<Words> Split(const std::string& command) {
    std::string error;
    return AlarmCommand::Words(command, error);
}

TEST(AlarmCommandTest, WordsAreSplitAtBlanksAndQuotedWithoutAShell) {
    EXPECT_EQ(Split("notify-send  Alarm"), (Words{"notify-send", "Alarm"}));
    EXPECT_EQ(Split("sh -c 'echo \"$QUORVEL_ALARM\" >> a.txt'"),
              (Words{"sh", "-c", "echo \"$QUORVEL_ALARM\" >> a.txt"}));
    EXPECT_EQ(Split("say \"kiln \\\"hot\\\"\" '' x\\ y"),
              (Words{"say", "kiln \"hot\"", "", "x y"}));
    EXPECT_EQ(Split("a'b c'd"), (Words{"ab cd"}));
    EXPECT_EQ(Split("$HOME/bin/x *"), (Words{"$HOME/bin/x", "*"})) << "nothing is expanded";
    EXPECT_FALSE(Split("sh -c 'echo").has_value());
    EXPECT_FALSE(Split("   ").has_value());
}

TEST(AlarmCommandTest, ProgramMustBeFoundToStart) {
    EXPECT_TRUE(AlarmCommand::Startable("sh"));
    EXPECT_TRUE(AlarmCommand::Startable("/bin/sh"));
    const std::filesystem::path plain = std::filesystem::temp_directory_path() /
                                        ("alarm-command-test-" + std::to_string(::getpid()));
    std::ofstream(plain) << "echo\n";
    std::filesystem::permissions(
        plain, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_FALSE(AlarmCommand::Startable(plain.string())) << "not executable";
    std::filesystem::remove(plain);
    EXPECT_FALSE(AlarmCommand::Startable("no-such-program-anywhere"));
}

}  // namespace
