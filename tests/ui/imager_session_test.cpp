// The session: the real serial port, link, threads and files, on the simulated head or
// without a head.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "document/imager_document.h"
#include "document/update_flags.h"
#include "platform/device_root.h"
#include "support/document_fixture.h"
#include "support/wait_until.h"
#include "ui/imager_session.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using document_test::DocumentFixture;
using test_support::WaitUntil;

// quorvel-headsim, built beside the tests (<build>/bin), or where QUORVEL_HEADSIM says.
fs::path HeadSimulatorProgram() {
    if (const char* given = std::getenv("QUORVEL_HEADSIM")) {
        return given;
    }
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return self.parent_path().parent_path().parent_path() / "bin" / "quorvel-headsim";
}

// Runs quorvel-headsim with <device root>/COM1 linked to its pseudo-terminal; ends it
// with SIGTERM.
class HeadSimulator {
  public:
    explicit HeadSimulator(const fs::path& program, std::vector<std::string> options = {}) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> arguments{program.string(), "--device-root"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~HeadSimulator() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    HeadSimulator(const HeadSimulator&) = delete;
    HeadSimulator& operator=(const HeadSimulator&) = delete;
    bool Running() const { return pid_ > 0; }

  private:
    pid_t pid_ = -1;
};

// The session on a fresh device root, started as the application starts it.
class ImagerSessionTest : public DocumentFixture {
  protected:
    ImagerDocument& Start(bool expectPort) {
        session_ = std::make_unique<ImagerSession>(&messages_, &notifier_);
        EXPECT_EQ(session_->OpenPort(), expectPort);
        session_->Start();
        return session_->Document();
    }
    void Stop() { session_.reset(); }
    void TearDown() override { Stop(); }

    std::unique_ptr<ImagerSession> session_;
};

TEST_F(ImagerSessionTest, WithoutAHeadThePortStaysClosedAndTheThreadRuns) {
    ImagerDocument& doc = Start(false);
    EXPECT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kBattery); }));
    EXPECT_TRUE(notifier_.Contains(update_flag::kBlink));
    EXPECT_FALSE(notifier_.Contains(update_flag::kFrame));
    EXPECT_TRUE(messages_.Texts().empty());  // the application says so, not the session
    EXPECT_EQ(doc.CurrentRangeNumber(), 255);
    EXPECT_FALSE(fs::exists(SettingsPath()));
    Stop();
    EXPECT_EQ(document_test::ReadFile(SettingsPath()).size(), 585u);
}

// Stopping twice, or without a start, is harmless; nothing is written without a start.
TEST_F(ImagerSessionTest, StopIsSafeAtAnyTime) {
    {
        ImagerSession idle(&messages_, &notifier_);
        EXPECT_FALSE(idle.OpenPort());
    }
    EXPECT_FALSE(fs::exists(SettingsPath()));
    Start(false);
    session_->Stop();
    session_->Stop();
    EXPECT_TRUE(fs::exists(SettingsPath()));
}

TEST_F(ImagerSessionTest, DocumentShowsTheHeadFreezesResumesAndKeepsWhatItShowed) {
    const fs::path program = HeadSimulatorProgram();
    if (!fs::exists(program)) {
        GTEST_SKIP() << "quorvel-headsim not built at " << program;
    }
    HeadSimulator head(program);
    ASSERT_TRUE(head.Running());
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));

    ImagerDocument& doc = Start(true);
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
    EXPECT_TRUE(notifier_.Contains(update_flag::kSpan));
    ASSERT_TRUE(WaitUntil([&] { return doc.CurrentRangeNumber() != 255; }));
    ASSERT_TRUE(WaitUntil([&] { return !doc.RangeDescriptions().empty(); }));
    EXPECT_NE(doc.DisplayFrame(), ThermalFrame::Filled(2730));

    doc.SetFreezeTime(1162544700);
    doc.Freeze(true);
    const ThermalFrame held = doc.DisplayFrame();
    const DocumentRecord saved = ReadSettings();
    EXPECT_EQ(saved.displayFrame, held);
    EXPECT_EQ(saved.freezeTime, 1162544700);
    EXPECT_EQ(saved.spanLow, doc.SpanLow());
    EXPECT_EQ(saved.spanHigh, doc.SpanHigh());

    doc.ReturnToLive(true);
    notifier_.Take();
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
    ASSERT_TRUE(WaitUntil([&] { return doc.DisplayFrame() != held; }));

    doc.Freeze(false);  // hold what is shown, then end as at program exit
    const ThermalFrame shown = doc.DisplayFrame();
    const std::uint16_t spanLow = doc.SpanLow();
    const std::uint16_t spanHigh = doc.SpanHigh();
    const std::uint16_t rangeLow = doc.RangeLow();
    const std::uint16_t rangeHigh = doc.RangeHigh();
    const std::uint8_t range = doc.CurrentRangeNumber();
    const std::string description = doc.RangeDescriptions().at(range - 1u);
    Stop();

    const DocumentRecord final = ReadSettings();
    EXPECT_EQ(final.displayFrame, shown);
    EXPECT_EQ(final.spanLow, spanLow);
    EXPECT_EQ(final.spanHigh, spanHigh);
    EXPECT_LE(final.spanLow + 20, final.spanHigh);
    EXPECT_EQ(final.rangeLow, rangeLow);
    EXPECT_EQ(final.rangeHigh, rangeHigh);
    // The current range's description is stored with the picture, two bytes a character.
    EXPECT_EQ(document_test::ReadFile(SettingsPath()).size(), 585u + 2 * description.size());
}

// The head goes away and comes back at the same place: the document hears of both, and
// frames flow again without a restart.
TEST_F(ImagerSessionTest, HeadThatGoesAwayAndComesBackIsTakenUpAgain) {
    const fs::path program = HeadSimulatorProgram();
    if (!fs::exists(program)) {
        GTEST_SKIP() << "quorvel-headsim not built at " << program;
    }
    auto head = std::make_unique<HeadSimulator>(program);
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));
    ImagerDocument& doc = Start(true);
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
    EXPECT_FALSE(doc.IsHeadAbsent());

    head.reset();  // the simulator closes its side and removes the link
    ASSERT_TRUE(WaitUntil([&] { return doc.IsHeadAbsent(); }));
    EXPECT_TRUE(notifier_.Contains(update_flag::kHead));
    EXPECT_TRUE(messages_.Texts().empty());

    head = std::make_unique<HeadSimulator>(program);
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));
    notifier_.Take();
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
    EXPECT_FALSE(doc.IsHeadAbsent());
    EXPECT_TRUE(notifier_.Contains(update_flag::kHead));
    EXPECT_TRUE(messages_.Texts().empty());
}

// A head that streams frames faster than the document polls still gets its range
// answers through: they never wait behind frames.
TEST_F(ImagerSessionTest, FastStreamingHeadStillDeliversEveryRangeDescription) {
    const fs::path program = HeadSimulatorProgram();
    if (!fs::exists(program)) {
        GTEST_SKIP() << "quorvel-headsim not built at " << program;
    }
    HeadSimulator head(program, {"--rate", "30"});
    ASSERT_TRUE(head.Running());
    ASSERT_TRUE(WaitUntil([] { return fs::exists(device_root::ComPort(1)); }));

    ImagerDocument& doc = Start(true);
    ASSERT_TRUE(WaitUntil([&] { return doc.RangeDescriptions().size() == 3; }));
    ASSERT_TRUE(WaitUntil([&] { return notifier_.Contains(update_flag::kFrame); }));
}

}  // namespace
