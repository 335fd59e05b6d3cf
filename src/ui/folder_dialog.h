#pragma once

#include <QByteArray>
#include <QDialog>
#include <string>

class QLabel;
class QListWidget;
class QListWidgetItem;

// The folder dialog (template 153): walks the handheld's folder tree. The caller sets
// the current path, runs the dialog and reads the current path back whatever the result.
//
// Tapping a folder enters it; ".." leads one level up. With the keyboard the arrow keys
// move through the list and Return, Enter, Space or Select enters the folder shown.
class FolderDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kPathText = 0;
    static constexpr int kFolderList = 14;

    explicit FolderDialog(const QByteArray& templateBytes, QWidget* parent = nullptr);

    // Initialises the list from the current path, then runs the dialog modally.
    int exec() override;
    int DoModal() { return exec(); }

    // Shows the folders of the current path; exec() calls it. A path without its trailing
    // "\" gets one first, so that entering a folder appends to a complete folder path.
    void OnInitDialog();

    // The handheld path of the folder shown, ending with "\".
    std::string currentPath;

    // The folder above `path` ("\A\B\" -> "\A\"), never above the root "\".
    static std::string ParentPath(const std::string& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Refresh();
    void Enter(const QListWidgetItem* item);

    QListWidget* list_;  // the template's control #14, owned by the dialog
    QLabel* pathText_;   // the template's control #0, owned by the dialog
};
