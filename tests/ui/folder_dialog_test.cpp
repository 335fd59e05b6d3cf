#include "ui/folder_dialog.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <fstream>

#include "dialog_test_support.h"
#include "ui/dialog_template.h"

namespace {

namespace fs = std::filesystem;

class FolderDialogTest : public ::testing::Test {
  protected:
    FolderDialogTest() {
        fs::create_directories(root_.Root() / "My Documents" / "Snapshots");
        fs::create_directories(root_.Root() / "My Documents" / "Roofs");
        fs::create_directories(root_.Root() / "Windows");
        std::ofstream(root_.Root() / "My Documents" / "notes.txt") << "a file, not a folder";
        std::ofstream(root_.Root() / "readme.txt") << "a file, not a folder";
    }

    void Open(const std::string& path) {
        dialog_.currentPath = path;
        dialog_.OnInitDialog();
        dialog_.show();
    }

    QListWidget& List() { return *dialog_.findChild<QListWidget*>("1014"); }
    QString PathText() { return dialog_.findChild<QLabel*>("1000")->text(); }

    QStringList Items() {
        QStringList items;
        for (int i = 0; i < List().count(); ++i) {
            items << List().item(i)->text();
        }
        return items;
    }

    // The folders of a host folder in the order the file system gives them.
    static QStringList HostFolders(const fs::path& folder) {
        QStringList names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.is_directory()) {
                names << QString::fromStdString(entry.path().filename().string());
            }
        }
        return names;
    }

    void TapItem(const QString& text) {
        const QList<QListWidgetItem*> found = List().findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        dialog_test::Tap(*List().viewport(), List().visualItemRect(found.front()).center());
    }

    QApplication& application_ = dialog_test::Application();
    dialog_test::TemporaryDeviceRoot root_;
    FolderDialog dialog_{dialog_test::EnglishTemplate(153)};
};

TEST_F(FolderDialogTest, RootListsItsFoldersWithoutAParentItem) {
    Open("\\");
    EXPECT_EQ(dialog_.windowTitle(), "Snapshot folder");
    EXPECT_EQ(dialog_.size(), QSize(240, 268));
    EXPECT_EQ(Items(), HostFolders(root_.Root()));
    EXPECT_EQ(Items().size(), 2);
    EXPECT_EQ(PathText(), "\\");
}

TEST_F(FolderDialogTest, TappingFoldersWalksDownAndParentItemWalksBackUp) {
    Open("\\");
    TapItem("My Documents");
    EXPECT_EQ(dialog_.currentPath, "\\My Documents\\");
    EXPECT_EQ(PathText(), "\\My Documents\\");
    EXPECT_EQ(Items(), QStringList{".."} + HostFolders(root_.Root() / "My Documents"));

    QDir().mkpath(QUORVEL_BINARY_DIR "/artefacts");
    EXPECT_TRUE(dialog_.grab().save(QUORVEL_BINARY_DIR "/artefacts/folder_dialog.png"));

    TapItem("Snapshots");
    EXPECT_EQ(dialog_.currentPath, "\\My Documents\\Snapshots\\");
    EXPECT_EQ(Items(), QStringList{".."});

    TapItem("..");
    EXPECT_EQ(dialog_.currentPath, "\\My Documents\\");
    TapItem("..");
    EXPECT_EQ(dialog_.currentPath, "\\");
    EXPECT_FALSE(Items().contains(".."));
}

TEST_F(FolderDialogTest, KeyboardMovesThroughTheListAndEntersWithReturn) {
    Open("\\My Documents\\");
    dialog_test::PressKey(List(), Qt::Key_Down);
    dialog_test::PressKey(List(), Qt::Key_Down);
    EXPECT_EQ(dialog_.currentPath, "\\My Documents\\");
    ASSERT_NE(List().currentItem(), nullptr);
    const std::string chosen = List().currentItem()->text().toStdString();
    EXPECT_NE(chosen, "..");
    dialog_test::PressKey(List(), Qt::Key_Return);
    EXPECT_EQ(dialog_.currentPath, "\\My Documents\\" + chosen + "\\");
    EXPECT_TRUE(dialog_.isVisible());

    dialog_test::PressKey(List(), Qt::Key_Down);
    dialog_test::PressKey(List(), Qt::Key_Space);
    EXPECT_EQ(dialog_.currentPath, "\\My Documents\\");
}

TEST_F(FolderDialogTest, FolderThatCannotBeReadShowsOnlyTheParentItem) {
    Open("\\Missing\\Deeper\\");
    EXPECT_EQ(Items(), QStringList{".."});
    TapItem("..");
    EXPECT_EQ(dialog_.currentPath, "\\Missing\\");
}

TEST_F(FolderDialogTest, PathWithoutTrailingSeparatorGetsOne) {
    Open("\\My Documents");
    EXPECT_EQ(dialog_.currentPath, "\\My Documents\\");
    TapItem("Roofs");
    EXPECT_EQ(dialog_.currentPath, "\\My Documents\\Roofs\\");

    Open("");
    EXPECT_EQ(dialog_.currentPath, "\\");
}

TEST_F(FolderDialogTest, ParentPathNeverLeavesTheRoot) {
    EXPECT_EQ(FolderDialog::ParentPath("\\A\\B\\"), "\\A\\");
    EXPECT_EQ(FolderDialog::ParentPath("\\A\\"), "\\");
    EXPECT_EQ(FolderDialog::ParentPath("\\"), "\\");
    EXPECT_EQ(FolderDialog::ParentPath("\\A\\B"), "\\");
}

TEST_F(FolderDialogTest, OkAndCancelCloseWithThePathCurrentAtThatMoment) {
    Open("\\");
    TapItem("Windows");
    dialog_template::Buttons(dialog_).button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(dialog_.currentPath, "\\Windows\\");

    Open("\\Windows\\");
    TapItem("..");
    dialog_template::Buttons(dialog_).button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(dialog_.result(), QDialog::Rejected);
    EXPECT_EQ(dialog_.currentPath, "\\");
}

}  // namespace
