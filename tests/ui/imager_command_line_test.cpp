#include "ui/imager_command_line.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "ui/port_failure_text.h"

namespace {

using Action = ImagerOptions::Action;

ImagerOptions Parse(const std::vector<std::string>& arguments) {
    return imager_command_line::Parse(arguments);
}

TEST(ImagerCommandLineTest, PortFilesAndQtOptions) {
    const ImagerOptions plain = Parse({"a.snp"});
    EXPECT_EQ(plain.action, Action::kRun);
    EXPECT_FALSE(plain.port.has_value());
    EXPECT_EQ(plain.files, std::vector<std::string>{"a.snp"});

    const ImagerOptions both = Parse({"--port", "/dev/ttyUSB0", "-platform", "offscreen", "a.snp",
                                      "--reverse", "--", "--port=b"});
    EXPECT_EQ(both.action, Action::kRun);
    EXPECT_EQ(both.port, "/dev/ttyUSB0");
    EXPECT_EQ(both.files, (std::vector<std::string>{"a.snp", "--port=b"}));
    EXPECT_EQ(Parse({"--port=/dev/ttyACM0"}).port, "/dev/ttyACM0");
}

TEST(ImagerCommandLineTest, HelpVersionAndMistakes) {
    EXPECT_EQ(Parse({"a.snp", "--help", "--bogus"}).action, Action::kHelp);
    EXPECT_EQ(Parse({"-h"}).action, Action::kHelp);
    EXPECT_EQ(Parse({"--version"}).action, Action::kVersion);
    const ImagerOptions unknown = Parse({"--bogus"});
    EXPECT_EQ(unknown.action, Action::kUsageError);
    EXPECT_EQ(unknown.error, "unknown option '--bogus'");
    EXPECT_EQ(Parse({"-x"}).action, Action::kUsageError);
    EXPECT_EQ(Parse({"--port"}).action, Action::kUsageError);
    EXPECT_EQ(Parse({"--port="}).action, Action::kUsageError);
    EXPECT_NE(imager_command_line::HelpText().find("--port DEVICE"), std::string::npos);
}

TEST(PortFailureTextTest, NamesTheDeviceAndTheReasonAndHintsAtTheGroup) {
    EXPECT_EQ(PortFailureText("/dev/ttyUSB0", ENOENT),
              "quorvel-imager: cannot open the serial device /dev/ttyUSB0: No such file or "
              "directory\n");
    const std::string denied = PortFailureText("/dev/ttyUSB0", EACCES);
    EXPECT_EQ(denied.rfind("quorvel-imager: cannot open the serial device /dev/ttyUSB0: "
                           "Permission denied\n",
                           0),
              0u);
    EXPECT_NE(denied.find("'dialout' group"), std::string::npos);
}

}  // namespace
