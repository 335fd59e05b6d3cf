#pragma once

// The fixture of the view command tests: the real view in its main window, the English
// dialog templates, scripted message boxes and the update events delivered through the
// event loop.

#include "support/started_document.h"
#include "ui/view_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <cstdio>
#include <fstream>

#include "document/imager_document.h"
#include "platform/file_error.h"
#include "ui/dialog_test_support.h"
#include "ui/file_error_report.h"
#include "ui/imager_test_support.h"
#include "ui/imager_view.h"
#include "ui/main_window.h"
#include "ui/settings_command.h"
#include "ui/workflow_test_support.h"

namespace commands_test {

namespace fs = std::filesystem;
using namespace workflow_test;
using View = ImagerView;
using Driver = SettingsDialogDriver;

// 3 November 2006, 09:05 and 09:07 UTC.
constexpr std::int64_t kHoldTime = 1162544700;
constexpr std::int64_t kSaveTime = 1162544820;

const std::map<int, std::string> kStrings{
    {129, "Save changes?"}, {130, "Hold"},       {131, "Span"},       {132, "Setup"},
    {133, "Browse"},        {134, "Exit"},       {135, "Prev"},       {136, "Next"},
    {137, "Delete"},        {138, "Live"},       {139, "Save"},       {140, "Discard"},
    {141, "Held"},          {142, "None"},       {143, "Delete it?"}, {144, "Greyscale"},
    {145, "Red Blue"},      {146, "Green Blue"}, {147, "Range!"},     {167, "Unreadable"}};

class CommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_.Environment().Set("TZ", "UTC");
        receiver_.Attach(document_);
        ShowInWindow(*view_, frame_, [this] { return now_; });
    }

    ImageButton& Button(View::Button which) { return view_->ButtonAt(which); }
    bool Shown(View::Button which) { return !Button(which).isHidden(); }
    void Click(View::Button which) { Button(which).click(); }
    std::vector<std::string> Snapshots() const { return SnapshotNames(document_.SnapshotFolder()); }
    fs::path SnapshotFile(const std::string& name) const {
        return device_root::Map(document_.SnapshotFolder()) / name;
    }
    bool LiveRowShown() {
        for (View::Button hidden : {View::kPrevious, View::kNext, View::kDelete, View::kLive,
                                    View::kSave, View::kDiscard}) {
            if (Shown(hidden)) {
                return false;
            }
        }
        return Shown(View::kHold) && Shown(View::kBrowse) && Shown(View::kSettings) &&
               Shown(View::kExit) && Shown(View::kAutoSpan) != Shown(View::kFitSpan) &&
               view_->Prompt().isHidden() && !view_->IsBrowsing();
    }
    // Stores snapshots through Hold and Save; each gets the next number.
    void StoreSnapshots(int count) {
        for (int k = 0; k < count; ++k) {
            Click(View::kHold);
            Click(View::kSave);
        }
        DeliverPostedEvents();
    }
    // Runs the settings command with `step` working the open dialog.
    void RunSettings(std::function<void(SettingsDialog&)> step) {
        Driver driver(std::move(step));
        Click(View::kSettings);
        EXPECT_TRUE(driver.Ran());
        DeliverPostedEvents();
    }

    bool applicationReady_ = (imager_test::Application(), true);
    imager_test::TemporaryDeviceRoot root_;
    imager_test::MapStrings strings_{kStrings};
    FakeIcons icons_;
    ScriptedMessageBoxes messages_{ScriptedMessageBoxes::kStrict};
    UpdateReceiver receiver_;
    QtUpdateNotifier notifier_{&receiver_};
    StartedDocument started_{&messages_, &notifier_};
    ImagerDocument& document_ = started_.Document();
    test_support::ScriptedFileChooser files_;
    MainWindow frame_;
    View* view_ = new View(
        document_, {strings_, icons_, messages_, notifier_, dialog_test::EnglishTemplate(131),
                    dialog_test::EnglishTemplate(153), &files_});
    std::int64_t now_ = kHoldTime;
};

}  // namespace commands_test
