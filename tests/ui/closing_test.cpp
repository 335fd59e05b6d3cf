// Ending the program while a changed snapshot is shown: the window's close button and
// Ctrl+Q ask message 129 with Yes, No and Cancel; a termination signal asks nothing.
// Every way leaves the live settings in the settings file, and only a Yes changes the
// snapshot file.

#include <gtest/gtest.h>

#include <QAction>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>

#include "document/imager_document.h"
#include "platform/qt/language_bundle.h"
#include "platform/whole_file.h"
#include "support/archive_file.h"
#include "support/child_process.h"
#include "support/wait_until.h"
#include "ui/imager_application.h"
#include "ui/imager_test_support.h"
#include "ui/imager_view.h"
#include "ui/main_window.h"

namespace {

namespace fs = std::filesystem;
using namespace imager_test;
using test_support::ChildProcess;
using test_support::ReadArchiveFile;

constexpr const char* kSnapshot = "\\My Documents\\Snapshots\\Snapshot 0 1-1-2006 10-00.snp";
constexpr std::int16_t kLivePalette = 2;
constexpr std::int16_t kStoredPalette = 0;
constexpr std::int16_t kChangedPalette = 1;
// Names the ready file when the test program runs as the child of the signal test.
constexpr const char* kChildVariable = "QUORVEL_CLOSING_CHILD";

void ProcessEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Starts the imager on the device root, sets a live palette, browses the one snapshot
// and changes the palette it shows.
void StartBrowsingAChangedSnapshot(ImagerApplication& app) {
    ASSERT_TRUE(app.Start({}));
    app.Document()->SetPaletteNumber(kLivePalette);
    app.Window()->View()->ButtonAt(ImagerView::kBrowse).click();
    ASSERT_EQ(app.Document()->PaletteNumber(), kStoredPalette);
    app.Document()->SetPaletteNumber(kChangedPalette);
    ProcessEvents();
}

class ClosingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DocumentRecord stored;
        stored.paletteNumber = kStoredPalette;
        const fs::path snapshot = root_.Host(kSnapshot);
        fs::create_directories(snapshot.parent_path());
        whole_file::WriteAtomically(snapshot, document_archive::Encode(stored));
    }
    static fs::path BuildBin() { return fs::path(QUORVEL_BINARY_DIR) / "bin"; }
    static QAction& ExitAction(MainWindow& frame) {
        for (QAction* action : frame.actions()) {
            if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Q)) {
                return *action;
            }
        }
        ADD_FAILURE() << "no Ctrl+Q";
        return *frame.actions().front();
    }
    // After the program has ended: the palettes of the settings file and the snapshot.
    void ExpectPalettes(std::int16_t snapshotPalette) const {
        EXPECT_EQ(ReadArchiveFile(root_.SettingsFile()).paletteNumber, kLivePalette);
        EXPECT_EQ(ReadArchiveFile(root_.Host(kSnapshot)).paletteNumber, snapshotPalette);
    }

    bool applicationReady_ = (Application(), true);
    TemporaryDeviceRoot root_;
};

TEST_F(ClosingTest, CloseButtonCancelledKeepsTheProgramAndCtrlQAnsweredNoDropsTheChanges) {
    {
        ImagerApplication app(BuildBin());
        {
            MessageBoxAnswerer cancel(QMessageBox::Cancel);
            StartBrowsingAChangedSnapshot(app);
            EXPECT_FALSE(app.Window()->close());
            ASSERT_FALSE(cancel.seen.empty());
            EXPECT_EQ(cancel.seen.back().text.toStdString(), app.Bundle()->String(129));
            EXPECT_EQ(cancel.seen.back().buttons,
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        }
        EXPECT_TRUE(app.Window()->isVisible());
        EXPECT_EQ(ReadArchiveFile(root_.Host(kSnapshot)).paletteNumber, kStoredPalette);

        MessageBoxAnswerer no(QMessageBox::No);
        ExitAction(*app.Window()).trigger();
        ProcessEvents();
        EXPECT_FALSE(app.Window()->isVisible());
        EXPECT_EQ(no.seen.size(), 1u);
    }
    ExpectPalettes(kStoredPalette);
}

TEST_F(ClosingTest, CloseButtonAnsweredYesSavesTheChanges) {
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        ImagerApplication app(BuildBin());
        StartBrowsingAChangedSnapshot(app);
        EXPECT_TRUE(app.Window()->close());
    }
    ExpectPalettes(kChangedPalette);
}

TEST_F(ClosingTest, TerminationSignalAsksNothingAndKeepsTheLiveSettings) {
    const fs::path ready = root_.Home() / "ready";
    const fs::path log = root_.Home() / "child.log";
    ChildProcess child(
        {fs::read_symlink("/proc/self/exe").string(), "--gtest_filter=ClosingChild.*"},
        {.environment = {{kChildVariable, ready.string()}}, .outputFile = log.string()});
    ASSERT_TRUE(test_support::WaitUntil([&] { return fs::exists(ready) || child.HasEnded(); }));
    ASSERT_TRUE(fs::exists(ready)) << TemporaryDeviceRoot::ReadText(log);
    ASSERT_TRUE(child.Signal(SIGTERM));
    const std::optional<int> status = child.WaitForExit(std::chrono::seconds(30));
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(ChildProcess::ExitedWith(*status, 0)) << TemporaryDeviceRoot::ReadText(log);
    ExpectPalettes(kStoredPalette);
}

// The child of the signal test: a question would be answered Yes and so show in the
// snapshot file.
TEST(ClosingChild, BrowsesAChangedSnapshotUntilATerminationSignal) {
    const char* ready = std::getenv(kChildVariable);
    if (ready == nullptr) {
        GTEST_SKIP() << "runs as the child of the termination signal test";
    }
    Application();
    MessageBoxAnswerer yes(QMessageBox::Yes);
    ImagerApplication app(fs::path(QUORVEL_BINARY_DIR) / "bin");
    StartBrowsingAChangedSnapshot(app);
    std::ofstream(ready) << "browsing\n";
    EXPECT_EQ(app.Run(), 0);
}

}  // namespace
