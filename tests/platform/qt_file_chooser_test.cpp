#include "platform/qt/qt_file_chooser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <fstream>

#include "support/environment.h"
#include "support/fake_services.h"
#include "support/test_application.h"

namespace {

namespace fs = std::filesystem;

// What the open dialog showed; `pick` is chosen in it, or the dialog is cancelled.
struct SeenDialog {
    QString title;
    QStringList filters;
    QString folder;
};

void WorkNextDialog(const fs::path& pick, SeenDialog& seen) {
    QTimer::singleShot(0, [pick, &seen] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = {dialog->windowTitle(), dialog->nameFilters(), dialog->directory().path()};
        if (pick.empty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(QString::fromStdString(pick.string()));
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog takes the selection
    });
}

TEST(QtFileChooser, OpenDialogStartsInTheFolderWithTheBundleTexts) {
    TestApplication();
    test_support::TemporaryDeviceRoot root;
    const fs::path file = root.Home() / "Snapshot 0 1-1-2006 10-00.snp";
    std::ofstream(file) << "x";
    test_support::MapStrings strings(
        {{168, "Open snapshot"}, {169, "Snapshots"}, {170, "All files"}});
    QtFileChooser chooser(&strings);

    SeenDialog seen;
    WorkNextDialog(file, seen);
    EXPECT_EQ(chooser.ChooseSnapshot(root.Home()), std::optional<fs::path>(file));
    EXPECT_EQ(seen.title, "Open snapshot");
    EXPECT_EQ(seen.filters, (QStringList{"Snapshots (*.snp)", "All files (*)"}));
    EXPECT_EQ(seen.folder.toStdString(), root.Home().string());

    WorkNextDialog({}, seen);
    EXPECT_EQ(chooser.ChooseSnapshot(root.Home()), std::nullopt);
}

}  // namespace
