// Ending the program while a changed snapshot is shown or a picture is held: the window's
// close button and Ctrl+Q ask message 129 or 175 with Yes, No and Cancel; a termination
// signal asks nothing. Every way leaves the live settings in the settings file, and only
// a Yes changes the snapshot file or stores the held picture.

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
constexpr const char* kHeldChildVariable = "QUORVEL_CLOSING_HELD_CHILD";

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

void StartHoldingAPicture(ImagerApplication& app) {
    {
        MessageBoxAnswerer portMessage;  // no head here
        ASSERT_TRUE(app.Start({}));
    }
    app.Window()->View()->ButtonAt(ImagerView::kHold).click();
    ASSERT_TRUE(app.Window()->View()->Commands().PictureHeld());
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

    std::size_t SnapshotFiles() const {
        const fs::path folder = root_.Host(kSnapshot).parent_path();
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
    // Runs this test program as a child with `variable` naming its ready file, ends it with
    // SIGTERM once ready; its standard output and error.
    std::string RunChildUntilSignal(const char* variable, const std::string& filter) {
        const fs::path ready = root_.Home() / "ready";
        const fs::path log = root_.Home() / "child.log";
        ChildProcess child(
            {fs::read_symlink("/proc/self/exe").string(), "--gtest_filter=" + filter},
            {.environment = {{variable, ready.string()}}, .outputFile = log.string()});
        EXPECT_TRUE(test_support::WaitUntil([&] { return fs::exists(ready) || child.HasEnded(); }));
        EXPECT_TRUE(fs::exists(ready)) << TemporaryDeviceRoot::ReadText(log);
        EXPECT_TRUE(child.Signal(SIGTERM));
        const std::optional<int> status = child.WaitForExit(std::chrono::seconds(30));
        EXPECT_TRUE(status.has_value());
        EXPECT_TRUE(status && ChildProcess::ExitedWith(*status, 0))
            << TemporaryDeviceRoot::ReadText(log);
        return TemporaryDeviceRoot::ReadText(log);
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
    RunChildUntilSignal(kChildVariable, "ClosingChild.Browses*");
    ExpectPalettes(kStoredPalette);
}

TEST_F(ClosingTest, HeldPictureIsKeptOnCancelDroppedOnNoAndStoredOnYes) {
    {
        ImagerApplication app(BuildBin());
        StartHoldingAPicture(app);
        {
            MessageBoxAnswerer cancel(QMessageBox::Cancel);
            EXPECT_FALSE(app.Window()->close());
            ASSERT_EQ(cancel.seen.size(), 1u);
            EXPECT_EQ(cancel.seen.back().text.toStdString(), app.Bundle()->String(175));
            EXPECT_EQ(cancel.seen.back().buttons,
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        }
        EXPECT_TRUE(app.Window()->isVisible());
        EXPECT_TRUE(app.Window()->View()->Commands().PictureHeld());

        MessageBoxAnswerer no(QMessageBox::No);
        ExitAction(*app.Window()).trigger();
        ProcessEvents();
        EXPECT_FALSE(app.Window()->isVisible());
    }
    EXPECT_EQ(SnapshotFiles(), 1u);

    {
        ImagerApplication app(BuildBin());
        StartHoldingAPicture(app);
        MessageBoxAnswerer yes(QMessageBox::Yes);
        EXPECT_TRUE(app.Window()->close());
        EXPECT_EQ(yes.seen.size(), 1u);
    }
    EXPECT_EQ(SnapshotFiles(), 2u);
}

TEST_F(ClosingTest, HeldPictureThatCannotBeStoredKeepsTheProgramOpen) {
    ImagerApplication app(BuildBin());
    StartHoldingAPicture(app);
    // The snapshot folder is replaced by a file: nothing can be stored in it.
    const fs::path folder = root_.Host(kSnapshot).parent_path();
    fs::remove_all(folder);
    std::ofstream(folder) << "not a folder";
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);  // save, then OK on the file error
        EXPECT_FALSE(app.Window()->close());
        EXPECT_GE(yes.seen.size(), 2u);
    }
    EXPECT_TRUE(app.Window()->View()->Commands().PictureHeld());
    MessageBoxAnswerer no(QMessageBox::No);
    EXPECT_TRUE(app.Window()->close());
}

TEST_F(ClosingTest, TerminationSignalWithAHeldPictureStoresNothingAndSaysSo) {
    const std::string output = RunChildUntilSignal(kHeldChildVariable, "ClosingChild.Holds*");
    EXPECT_NE(output.find("quorvel-imager: held picture not saved"), std::string::npos) << output;
    EXPECT_EQ(SnapshotFiles(), 1u);
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

// The child of the held-picture signal test: a question would be answered Yes and so
// store a snapshot.
TEST(ClosingChild, HoldsAPictureUntilATerminationSignal) {
    const char* ready = std::getenv(kHeldChildVariable);
    if (ready == nullptr) {
        GTEST_SKIP() << "runs as the child of the termination signal test";
    }
    Application();
    MessageBoxAnswerer yes(QMessageBox::Yes);
    ImagerApplication app(fs::path(QUORVEL_BINARY_DIR) / "bin");
    StartHoldingAPicture(app);
    std::ofstream(ready) << "holding\n";
    EXPECT_EQ(app.Run(), 0);
}

}  // namespace
