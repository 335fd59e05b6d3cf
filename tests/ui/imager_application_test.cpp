#include "ui/imager_application.h"
#include "support/archive_file.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <fstream>

#include "document/archive_reader.h"
#include "document/archive_writer.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/imager_document.h"
#include "platform/qt/language_bundle.h"
#include "platform/qt/qt_update_notifier.h"
#include "platform/whole_file.h"
#include "ui/imager_test_support.h"
#include "ui/imager_view.h"
#include "ui/main_window.h"

namespace {

using namespace imager_test;
namespace fs = std::filesystem;

// Reports every file opened or created directly inside a folder.
class FolderWatch {
  public:
    explicit FolderWatch(const fs::path& folder) : fd_(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(fd_, folder.c_str(), IN_OPEN | IN_CREATE | IN_MODIFY);
    }
    ~FolderWatch() { ::close(fd_); }
    bool AnythingHappened() const {
        char buffer[4096];
        return ::read(fd_, buffer, sizeof buffer) > 0;
    }

  private:
    int fd_;
};

class AppTest : public ::testing::Test {
  protected:
    static fs::path BuildBin() { return fs::path(QUORVEL_BINARY_DIR) / "bin"; }

    void ProcessEvents() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    DocumentRecord ReadSettings(std::size_t& size) const {
        return test_support::ReadArchiveFile(root_.SettingsFile(), &size);
    }

    bool applicationReady_ = (Application(), true);
    TemporaryDeviceRoot root_;
};

TEST_F(AppTest, MissingBundleShowsTheMessageAndTouchesNeitherPortNorSettings) {
    root_.Environment().Set("LANG", "de_DE.UTF-8");
    std::ofstream(root_.Root() / "COM1") << "";
    for (QMessageBox::StandardButton answer : {QMessageBox::Ok, QMessageBox::Cancel}) {
        FolderWatch watch(root_.Root());
        MessageBoxAnswerer answerer(answer);
        ImagerApplication app(root_.Home() / "bin");
        EXPECT_FALSE(app.Start({}));
        ASSERT_EQ(answerer.seen.size(), 1u);
        EXPECT_EQ(answerer.seen[0].text, "Error loading:\n4286 German.dll");
        EXPECT_EQ(answerer.seen[0].title, "Quorvel Imager");
        EXPECT_EQ(answerer.seen[0].icon, QMessageBox::Critical);
        EXPECT_EQ(answerer.seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(app.Document(), nullptr);
        EXPECT_EQ(app.Window(), nullptr);
        EXPECT_EQ(app.Run(), 0);
        // A notification without a main window is dropped.
        QCoreApplication::postEvent(&app, new QtUpdateNotifier::Event(639));
        ProcessEvents();
        EXPECT_FALSE(watch.AnythingHappened()) << "COM1 opened or a file created";
    }
    EXPECT_FALSE(fs::exists(root_.Root() / "Program Files"));
}

TEST_F(AppTest, BundleNameFollowsTheUserLanguage) {
    root_.Environment().Set("LANG", "zh_HK.UTF-8");
    EXPECT_EQ(ImagerApplication::BundleName(), "4286 ChineseT.dll");
    root_.Environment().Set("LC_ALL", "ja_JP.UTF-8");
    EXPECT_EQ(ImagerApplication::BundleName(), "4286 English.dll");
    EXPECT_EQ(ImagerApplication::LoadErrorText("4286 X.dll"), "Error loading:\n4286 X.dll");
}

TEST_F(AppTest, StartsDeliversUpdatesAndWritesTheSettingsWhenClosed) {
    {
        MessageBoxAnswerer answerer;
        ImagerApplication app(BuildBin());
        ASSERT_TRUE(app.Start({}));
        EXPECT_EQ(QCoreApplication::organizationName(), "Therlix");
        EXPECT_EQ(QCoreApplication::applicationName(), "Quorvel Imager");
        ASSERT_NE(app.Bundle(), nullptr);
        EXPECT_EQ(app.Bundle()->String(130), "Hold");
        MainWindow* frame = app.Window();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(frame->windowTitle(), "Quorvel Imager");
        ASSERT_NE(frame->View(), nullptr);
        EXPECT_EQ(frame->centralWidget(), frame->View());
        EXPECT_EQ(frame->Document(), app.Document());
        EXPECT_EQ(frame->View()->ButtonAt(ImagerView::kExit).text(), "Exit");
        ASSERT_FALSE(answerer.seen.empty()) << "no head on COM1";
        EXPECT_EQ(answerer.seen[0].text, "COM port could not be opened");

        // A posted notification reaches the view through the application object.
        app.Document()->SetPaletteNumber(2);
        EXPECT_EQ(frame->View()->ThermalImage().PaletteNumber(), 1);
        ProcessEvents();
        EXPECT_EQ(frame->View()->ThermalImage().PaletteNumber(), 2);

        app.Exit();
        EXPECT_TRUE(frame->isVisible());
        ProcessEvents();
        EXPECT_FALSE(frame->isVisible());
        EXPECT_FALSE(fs::exists(root_.SettingsFile())) << "written when the document goes";
    }
    std::size_t size = 0;
    const DocumentRecord record = ReadSettings(size);
    EXPECT_EQ(size, 585u);
    EXPECT_EQ(record.paletteNumber, 2);
}

TEST_F(AppTest, CtrlQAndTerminationSignalsCloseTheMainWindow) {
    MessageBoxAnswerer answerer;
    ImagerApplication app(BuildBin());
    ASSERT_TRUE(app.Start({}));
    MainWindow* frame = app.Window();
    QAction* exit = nullptr;
    for (QAction* action : frame->actions()) {
        if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Q)) {
            exit = action;
        }
    }
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    ProcessEvents();
    EXPECT_FALSE(frame->isVisible());

    frame->show();
    ASSERT_EQ(::raise(SIGTERM), 0);
    for (int pass = 0; pass < 100 && frame->isVisible(); ++pass) {
        ProcessEvents();
    }
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(app.Run(), 0) << "ends without running the event loop again";
}

TEST_F(AppTest, FileOnTheCommandLineIsReadIntoTheDocument) {
    DocumentRecord stored;
    stored.paletteNumber = 0;
    stored.spanLow = 2800;
    stored.spanHigh = 3300;
    stored.displayFrame = ThermalFrame::Filled(3000);
    stored.interpolatedMode = false;
    ArchiveWriter writer;
    document_archive::Store(stored, writer);
    const fs::path file = root_.Home() / "picture.snp";
    whole_file::WriteAtomically(file, writer.Bytes());

    MessageBoxAnswerer answerer;
    ImagerApplication app(BuildBin());
    ASSERT_TRUE(app.Start({QString::fromStdString(file.string())}));
    EXPECT_EQ(app.Document()->PaletteNumber(), 0);
    const ImagerView* view = app.Window()->View();
    EXPECT_FALSE(view->InterpolatedMode());
    ImagerView& mutableView = *app.Window()->View();
    EXPECT_EQ(mutableView.ThermalImage().PaletteNumber(), 0);
    EXPECT_EQ(mutableView.ThermalImage().SpanLow(), 2800);
    EXPECT_FALSE(mutableView.ThermalImage().Interpolated());
}

TEST_F(AppTest, UnreadableFileOrUnknownOptionEndsTheProgram) {
    MessageBoxAnswerer answerer;
    {
        ImagerApplication app(BuildBin());
        EXPECT_FALSE(app.Start({QStringLiteral("--no-such-option")}));
        EXPECT_EQ(app.Document(), nullptr) << "the port is not opened for a bad command line";
    }
    {
        ImagerApplication app(BuildBin());
        EXPECT_FALSE(app.Start({QString::fromStdString((root_.Home() / "none.snp").string())}));
    }
    {
        // A FIFO is refused at once instead of waiting for a writer.
        const fs::path fifo = root_.Home() / "fifo.snp";
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        ImagerApplication app(BuildBin());
        EXPECT_FALSE(app.Start({QString::fromStdString(fifo.string())}));
    }
}

}  // namespace
