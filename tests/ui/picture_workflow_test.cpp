// The picture workflow on the real view with the English language bundle: buttons
// clicked, keys pressed, dialogs worked, and the files on disk checked after each step.

#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "document/imager_document.h"
#include "platform/qt/language_bundle.h"
#include "support/started_document.h"
#include "ui/imager_test_support.h"
#include "ui/imager_view.h"
#include "ui/main_window.h"
#include "ui/workflow_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace workflow_test;
using View = ImagerView;
using Driver = SettingsDialogDriver;

// 3 November 2006, 09:05 UTC, and one minute per step from there.
constexpr std::int64_t kStart = 1162544700;

// The whole program below the application object: document, frame and view, with
// scripted message boxes and the update events delivered through the event loop.
class Imager {
  public:
    explicit Imager(const LanguageBundle& bundle)
        : view_(new View(document_, {bundle, bundle, messages_, notifier_,
                                     bundle.DialogTemplate(131), bundle.DialogTemplate(153)})) {
        receiver_.Attach(document_);
        ShowInWindow(*view_, frame_, [this] { return now_; });
    }

    ImagerDocument& Document() { return document_; }
    View& GetView() { return *view_; }
    MainWindow& Frame() { return frame_; }
    ScriptedMessageBoxes& Messages() { return messages_; }

    // Clicks a button a minute after the last one.
    void Click(View::Button which) {
        now_ += 60;
        view_->ButtonAt(which).click();
        DeliverPostedEvents();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        PressKey(*view_, key, modifiers);
        DeliverPostedEvents();
    }
    void Settings(std::function<void(SettingsDialog&)> step) {
        Driver driver(std::move(step));
        Click(View::kSettings);
        EXPECT_TRUE(driver.Ran());
        // A window system gives the main window back its activation when the dialog
        // closes; the offscreen platform does not.
        QApplication::setActiveWindow(&frame_);
    }
    std::vector<std::string> Snapshots() const { return SnapshotNames(document_.SnapshotFolder()); }
    DocumentRecord Snapshot(const std::string& name) const {
        return ReadArchive(device_root::Map(document_.SnapshotFolder()) / name);
    }

  private:
    ScriptedMessageBoxes messages_{ScriptedMessageBoxes::kStrict};
    UpdateReceiver receiver_;
    QtUpdateNotifier notifier_{&receiver_};
    StartedDocument started_{&messages_, &notifier_};
    ImagerDocument& document_ = started_.Document();
    MainWindow frame_;
    View* view_;
    std::int64_t now_ = kStart - 60;
};

class PictureWorkflowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_.Environment().Set("TZ", "UTC");
        ASSERT_TRUE(bundle_.IsLoaded()) << "build the English bundle first";
        imager_ = std::make_unique<Imager>(bundle_);
    }
    // Ends the program: the document writes the settings file as it goes.
    DocumentRecord EndAndReadSettings() {
        imager_.reset();
        return ReadArchive(root_.SettingsFile());
    }
    bool Shown(View::Button which) { return !imager_->GetView().ButtonAt(which).isHidden(); }
    // The view as it is drawn, kept in the build folder for people to look at.
    QImage Screenshot(const char* name) {
        const fs::path folder = fs::path(QUORVEL_BINARY_DIR) / "screenshots";
        fs::create_directories(folder);
        const QImage image = imager_->GetView().grab().toImage();
        image.save(QString::fromStdString((folder / name).string()));
        return image;
    }

    // Hold and Save two snapshots (a Discard between them stores nothing); `held` is the
    // held row's screenshot.
    void HoldAndSaveTwo(Imager& imager, QImage& held) {
        ImagerDocument& document = imager.Document();
        const fs::path settings = root_.SettingsFile();
        // Marker 1 one pixel right, then hold: the live settings go to the settings file.
        imager.Key(Qt::Key_Right);
        imager.Click(View::kHold);
        EXPECT_EQ(ReadArchive(settings).spotPosition1, 136);
        EXPECT_TRUE(Shown(View::kSave));
        held = Screenshot("held_row.png");

        // The held picture's marker moves back; Save stores it and live pictures resume
        // with the settings of the freeze.
        imager.Key(Qt::Key_Left);
        imager.Click(View::kSave);
        ASSERT_EQ(imager.Snapshots(), std::vector<std::string>{"Snapshot 0 3-11-2006 09-06.snp"});
        DocumentRecord stored = imager.Snapshot("Snapshot 0 3-11-2006 09-06.snp");
        EXPECT_EQ(stored.spotPosition1, 135);
        EXPECT_EQ(stored.freezeTime, kStart);
        EXPECT_EQ(stored.captureTime, kStart + 60);
        EXPECT_EQ(document.SpotPosition(0), 136);
        EXPECT_TRUE(document.IsLive());

        // Hold and Discard store nothing; Hold and Save a second snapshot.
        imager.Click(View::kHold);
        imager.Click(View::kDiscard);
        EXPECT_EQ(imager.Snapshots().size(), 1u);
        imager.Click(View::kHold);
        imager.Click(View::kSave);
        EXPECT_EQ(imager.Snapshots().back(), "Snapshot 1 3-11-2006 09-10.snp");
    }
    // Browse from a palette chosen in the settings dialog, change the first snapshot's
    // span and write it back.
    void BrowseAndChange(Imager& imager, const QImage& held) {
        ImagerDocument& document = imager.Document();
        const fs::path settings = root_.SettingsFile();
        // A palette chosen in the settings dialog.
        imager.Settings([](SettingsDialog& dialog) {
            Driver::Control<QComboBox>(dialog, SettingsDialog::kPalette).setCurrentIndex(2);
            Driver::Press(dialog, QDialogButtonBox::Ok);
        });
        EXPECT_EQ(document.PaletteNumber(), 2);
        EXPECT_TRUE(document.IsLive());

        // Browse: the live settings are put aside and the first snapshot is shown.
        imager.Click(View::kBrowse);
        EXPECT_EQ(ReadArchive(settings).paletteNumber, 2);
        EXPECT_EQ(document.SnapshotIndex(), 0);
        EXPECT_EQ(document.PaletteNumber(), 1);
        EXPECT_TRUE(Shown(View::kDelete));
        const QImage browsing = Screenshot("browsing_row.png");
        EXPECT_NE(held.copy(0, 235, 240, 33), browsing.copy(0, 235, 240, 33));

        // Keypad 5 twice selects the span of the shown snapshot; keypad 6 moves it up.
        imager.Key(Qt::Key_5, Qt::KeypadModifier);
        imager.Key(Qt::Key_5, Qt::KeypadModifier);
        EXPECT_EQ(imager.GetView().GetSelectionMode(), View::kSpan);
        const std::uint16_t low = document.SpanLow();
        imager.Key(Qt::Key_6, Qt::KeypadModifier);
        EXPECT_EQ(document.SpanLow(), low + 10);

        // Next asks about the change; Yes writes it into the first snapshot's file.
        imager.Messages().answers = {message_box::kIdYes};
        imager.Click(View::kNext);
        EXPECT_EQ(imager.Messages().TakeIds(), std::vector<int>{129});
        EXPECT_EQ(imager.Snapshot("Snapshot 0 3-11-2006 09-06.snp").spanLow, low + 10);
        EXPECT_EQ(document.SnapshotIndex(), 1);
        imager.Click(View::kPrevious);
        EXPECT_EQ(document.SnapshotIndex(), 0);
        EXPECT_EQ(document.SpanLow(), low + 10);
    }
    // Delete both snapshots; the live row and the live settings return.
    void DeleteBoth(Imager& imager) {
        ImagerDocument& document = imager.Document();
        imager.Messages().answers = {message_box::kIdYes};
        imager.Click(View::kDelete);
        EXPECT_EQ(imager.Snapshots(), std::vector<std::string>{"Snapshot 1 3-11-2006 09-10.snp"});
        EXPECT_TRUE(Shown(View::kDelete));
        imager.Messages().answers = {message_box::kIdYes};
        imager.Click(View::kDelete);
        EXPECT_EQ(imager.Messages().TakeIds(), (std::vector<int>{143, 143}));
        EXPECT_TRUE(imager.Snapshots().empty());
        EXPECT_FALSE(Shown(View::kDelete));
        EXPECT_TRUE(Shown(View::kHold));
        EXPECT_TRUE(document.IsLive());
        EXPECT_EQ(document.PaletteNumber(), 2);
    }

    bool applicationReady_ = (imager_test::Application(), true);
    imager_test::TemporaryDeviceRoot root_;
    LanguageBundle bundle_{fs::path(QUORVEL_BINARY_DIR) / "bin" / "4286 English.dll"};
    std::unique_ptr<Imager> imager_;
};

TEST_F(PictureWorkflowTest, HoldSaveDiscardBrowseDeleteAndExit) {
    Imager& imager = *imager_;
    EXPECT_FALSE(fs::exists(root_.SettingsFile()));
    EXPECT_TRUE(imager.Snapshots().empty());
    QImage held;
    ASSERT_NO_FATAL_FAILURE(HoldAndSaveTwo(imager, held));
    BrowseAndChange(imager, held);
    DeleteBoth(imager);

    imager.Click(View::kBrowse);
    EXPECT_EQ(imager.Messages().TakeIds(), std::vector<int>{142});

    imager.Click(View::kExit);
    EXPECT_FALSE(imager.Frame().isVisible());
    const DocumentRecord last = EndAndReadSettings();
    EXPECT_EQ(last.paletteNumber, 2);
    EXPECT_EQ(last.spotPosition1, 136);
}

TEST_F(PictureWorkflowTest, ExitWhileBrowsingAModifiedSnapshotKeepsTheLiveSettings) {
    Imager& imager = *imager_;
    imager.Click(View::kHold);
    imager.Click(View::kSave);
    imager.Click(View::kBrowse);
    imager.Settings([](SettingsDialog& dialog) {
        EXPECT_FALSE(Driver::Control<QComboBox>(dialog, SettingsDialog::kIntegration).isEnabled());
        Driver::Control<QComboBox>(dialog, SettingsDialog::kUnit).setCurrentIndex(1);
        Driver::Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_FALSE(imager.Document().IsLive()) << "pictures stay stopped while browsing";
    EXPECT_EQ(imager.Document().TemperatureUnit(), 1);

    imager.Messages().answers = {message_box::kIdNo};
    imager.Click(View::kExit);
    EXPECT_EQ(imager.Messages().TakeIds(), std::vector<int>{129});
    EXPECT_FALSE(imager.Frame().isVisible());
    EXPECT_EQ(imager.Snapshot(imager.Snapshots()[0]).temperatureUnit, 0) << "answered No";
    EXPECT_EQ(EndAndReadSettings().temperatureUnit, 0);
}

}  // namespace
