#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "document/archive_reader.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "platform/whole_file.h"
#include "support/archive_file.h"
#include "support/child_process.h"
#include "support/wait_until.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;
using test_support::ChildProcess;
using test_support::WaitUntil;

const std::string kImager = QUORVEL_BIN_DIR "/quorvel-imager";
const std::string kHeadSim = QUORVEL_BIN_DIR "/quorvel-headsim";

std::string FileText(const fs::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class ImagerEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("quorvel-e2e-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(root_ = folder_ / "data" / "therlix-handheld");
        fs::create_directories(folder_ / "runtime");
        fs::permissions(folder_ / "runtime", fs::perms::owner_all);
    }
    void TearDown() override {
        if (HasFailure()) {
            std::cerr << "imager output:\n" << FileText(folder_ / "imager.log") << '\n';
        }
        fs::remove_all(folder_);
    }

    std::map<std::string, std::string> Environment() const {
        return {{"XDG_DATA_HOME", (folder_ / "data").string()},
                {"XDG_CONFIG_HOME", (folder_ / "config").string()},
                {"XDG_RUNTIME_DIR", (folder_ / "runtime").string()},
                {"QT_QPA_PLATFORM", "offscreen"},
                {"LC_ALL", "C"},
                {"LANG", "C"}};
    }

    fs::path SettingsFile() const {
        return root_ / "Program Files" / "Therlix Imager" / "Persist.dat";
    }

    // Starts the imager with `options`, waits for its SIGTERM handler, lets it run for
    // `runFor`, ends it with SIGTERM and expects an orderly exit.
    void RunImagerFor(milliseconds runFor, std::vector<std::string> options = {}) {
        options.insert(options.begin(), kImager);
        ChildProcess imager(options, {.environment = Environment(),
                                      .outputFile = (folder_ / "imager.log").string()});
        ASSERT_TRUE(imager.Started());
        ASSERT_TRUE(WaitUntil([&] { return imager.Catches(SIGTERM); }, seconds(20)))
            << "the imager never installed its SIGTERM handler";
        std::this_thread::sleep_for(runFor);
        ASSERT_TRUE(imager.Signal(SIGTERM));
        const std::optional<int> status = imager.WaitForExit(seconds(30));
        ASSERT_TRUE(status) << "the imager did not end after SIGTERM";
        ASSERT_TRUE(WIFEXITED(*status)) << "status " << *status;
        EXPECT_EQ(WEXITSTATUS(*status), 0);
    }

    DocumentRecord ReadSettings(std::size_t& size) const {
        return test_support::ReadArchiveFile(SettingsFile(), &size);
    }

    // Whether the settings file holds `text` as UTF-16 code units (the stored range
    // description is not read back into a document).
    bool HoldsUtf16Text(const std::string& text) const {
        const auto bytes = whole_file::Read(SettingsFile());
        std::vector<std::uint8_t> wanted;
        for (char c : text) {
            wanted.push_back(static_cast<std::uint8_t>(c));
            wanted.push_back(0);
        }
        return bytes && std::search(bytes->begin(), bytes->end(), wanted.begin(), wanted.end()) !=
                            bytes->end();
    }

    fs::path folder_;
    fs::path root_;
};

TEST_F(ImagerEndToEnd, WithoutAHeadTheFirstRunLeavesTheDefaultSettingsFile) {
    RunImagerFor(milliseconds(500));
    ASSERT_TRUE(fs::exists(SettingsFile()));
    std::size_t size = 0;
    const DocumentRecord record = ReadSettings(size);
    EXPECT_EQ(size, 585u);
    EXPECT_EQ(record.displayFrame, ThermalFrame::Filled(kEmptyPictureValue));
    EXPECT_EQ(record.spanLow, 2930);
    EXPECT_EQ(record.spanHigh, 3130);
    EXPECT_EQ(record.paletteNumber, 1);
    EXPECT_EQ(record.spotPosition1, 135);
    EXPECT_EQ(record.spotPosition2, 136);
    // The view is gone when the document writes the file at the end.
    EXPECT_EQ(record.interpolatedMode, std::optional<bool>(false));
    EXPECT_EQ(record.edgeRepair, std::optional<bool>(false));
    EXPECT_TRUE(fs::is_directory(root_ / "My Documents" / "Snapshots"));
}

TEST_F(ImagerEndToEnd, WithTheSimulatedHeadTheLastFrameAndSpanAreStored) {
    ChildProcess head(
        {kHeadSim, "--device-root"},
        {.environment = Environment(), .outputFile = (folder_ / "headsim.log").string()});
    ASSERT_TRUE(head.Started());
    ASSERT_TRUE(WaitUntil([&] { return fs::is_symlink(root_ / "COM1"); }, seconds(10)));

    RunImagerFor(seconds(4));
    ASSERT_TRUE(head.Signal(SIGTERM));
    EXPECT_TRUE(head.WaitForExit(seconds(10)));

    std::size_t size = 0;
    const DocumentRecord record = ReadSettings(size);
    EXPECT_GT(size, 585u) << "the range description is stored";
    const auto [lowest, highest] =
        std::minmax_element(record.displayFrame.pixels.begin(), record.displayFrame.pixels.end());
    EXPECT_NE(record.displayFrame, ThermalFrame::Filled(kEmptyPictureValue));
    EXPECT_LT(*lowest, *highest) << "a scene, not a uniform picture";
    EXPECT_GT(*lowest, 2530);
    EXPECT_LT(*highest, 3730);
    // The first built-in range of the simulated head.
    EXPECT_EQ(record.rangeLow, 2530);
    EXPECT_EQ(record.rangeHigh, 3730);
    EXPECT_TRUE(HoldsUtf16Text("-20 ... 100 C")) << "the description of the range is stored";
    // Automatic span has moved the span off its start values toward the scene.
    EXPECT_NE((std::pair<int, int>(record.spanLow, record.spanHigh)),
              (std::pair<int, int>(2930, 3130)));
    EXPECT_LT(record.spanLow, record.spanHigh);
    EXPECT_LT(record.spanLow, *highest);
    EXPECT_GT(record.spanHigh, *lowest);
}

// --help and --version need no display; a mistake ends with code 2 and says what.
TEST_F(ImagerEndToEnd, HelpVersionAndMistakesEndBeforeAnyWindow) {
    auto environment = Environment();
    environment["QT_QPA_PLATFORM"] = "";
    environment["DISPLAY"] = "";
    environment["WAYLAND_DISPLAY"] = "";
    const auto run = [&](const std::vector<std::string>& options, const std::string& log) {
        std::vector<std::string> arguments{kImager};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ChildProcess imager(arguments,
                            {.environment = environment, .outputFile = (folder_ / log).string()});
        const std::optional<int> status = imager.WaitForExit(seconds(20));
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    };
    EXPECT_EQ(run({"--help"}, "help.log"), 0);
    EXPECT_NE(FileText(folder_ / "help.log").find("--port DEVICE"), std::string::npos);
    EXPECT_EQ(run({"--version"}, "version.log"), 0);
    EXPECT_EQ(FileText(folder_ / "version.log").rfind("quorvel-imager ", 0), 0u);
    EXPECT_EQ(run({"--colour", "x.snp"}, "unknown.log"), 2);
    EXPECT_NE(FileText(folder_ / "unknown.log").find("unknown option '--colour'"),
              std::string::npos);
    EXPECT_EQ(run({"--port"}, "port.log"), 2);
    EXPECT_FALSE(fs::exists(SettingsFile())) << "nothing started";
}

// --port takes the simulated head from a device outside the device root; a device that
// cannot be opened is named on stderr with the system's reason.
TEST_F(ImagerEndToEnd, PortOptionTalksToTheHeadOnThatDevice) {
    const fs::path device = folder_ / "ttyHead";
    ChildProcess head(
        {kHeadSim, "--link", device.string()},
        {.environment = Environment(), .outputFile = (folder_ / "headsim.log").string()});
    ASSERT_TRUE(head.Started());
    ASSERT_TRUE(WaitUntil([&] { return fs::is_symlink(device); }, seconds(10)));
    RunImagerFor(seconds(3), {"--port", device.string()});
    EXPECT_TRUE(HoldsUtf16Text("-20 ... 100 C")) << "the head's range description is stored";
    EXPECT_FALSE(fs::exists(root_ / "COM1"));

    RunImagerFor(milliseconds(300), {"--port=" + folder_.string()});
    EXPECT_NE(FileText(folder_ / "imager.log")
                  .find("cannot open the serial device " + folder_.string() + ": Is a directory"),
              std::string::npos);
}

// --log writes the same rows as quorvel-log from the imager's own frames, with its two
// spot markers; a log file that cannot be opened ends the start with code 1.
TEST_F(ImagerEndToEnd, LogOptionWritesRowsOfTheLiveFrames) {
    ChildProcess head(
        {kHeadSim, "--device-root"},
        {.environment = Environment(), .outputFile = (folder_ / "headsim.log").string()});
    ASSERT_TRUE(WaitUntil([&] { return fs::is_symlink(root_ / "COM1"); }, seconds(10)));
    const fs::path log = folder_ / "readings.csv";
    RunImagerFor(seconds(3), {"--log", log.string(), "--log-every", "500ms"});
    std::istringstream rows(FileText(log));
    std::string line;
    std::getline(rows, line);
    EXPECT_EQ(line,
              "time,head,range,range_text,unit,frames,lost,min,max,mean,hottest_row,"
              "hottest_column,coldest_row,coldest_column,spot1,spot2,state,alarm,alarm_value,"
              "snapshot");
    int withValues = 0;
    while (std::getline(rows, line)) {
        withValues += line.find(",4660,1,-20 ... 100 C,C,") != std::string::npos &&
                              line.find(",ok,") != std::string::npos
                          ? 1
                          : 0;
    }
    EXPECT_GE(withValues, 3) << FileText(log);

    ChildProcess refused(
        {kImager, "--log", (folder_ / "no" / "such.csv").string()},
        {.environment = Environment(), .outputFile = (folder_ / "refused.log").string()});
    const std::optional<int> status = refused.WaitForExit(seconds(20));
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 1);
    EXPECT_NE(FileText(folder_ / "refused.log").find("No such file or directory"),
              std::string::npos);
}

}  // namespace
