#include "ui/folder_dialog.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/device_root.h"
#include "ui/dialog_template.h"

namespace {

const char* const kParentItem = "..";

// Names of the folders in a handheld folder, in the order the file system returns them.
// A folder that cannot be read has none.
std::vector<std::string> SubfolderNames(const std::string& handheldPath) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entry(device_root::Map(handheldPath), error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code kindError;
        if (entry->is_directory(kindError)) {
            names.push_back(entry->path().filename().string());
        }
    }
    return names;
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space ||
           key == Qt::Key_Select;
}

}  // namespace

FolderDialog::FolderDialog(const QByteArray& templateBytes, QWidget* parent)
    : QDialog(parent), list_(nullptr), pathText_(nullptr) {
    dialog_template::Load(*this, templateBytes);
    list_ = &dialog_template::Control<QListWidget>(*this, kFolderList);
    pathText_ = &dialog_template::Control<QLabel>(*this, kPathText);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemClicked, this, &FolderDialog::Enter);
    QDialogButtonBox& buttons = dialog_template::Buttons(*this);
    connect(&buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(&buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int FolderDialog::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void FolderDialog::OnInitDialog() {
    if (currentPath.empty() || currentPath.back() != '\\') {
        currentPath.push_back('\\');
    }
    Refresh();
    list_->setFocus();
}

std::string FolderDialog::ParentPath(const std::string& path) {
    std::string parent = path;
    const std::size_t last = parent.rfind('\\');
    if (last != std::string::npos && last > 0) {
        parent.resize(last);
    }
    const std::size_t previous = parent.rfind('\\');
    if (previous != std::string::npos) {
        parent.resize(previous + 1);
    }
    return parent;
}

bool FolderDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        IsEnterKey(static_cast<QKeyEvent*>(event)->key()) && list_->currentItem() != nullptr) {
        Enter(list_->currentItem());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FolderDialog::Refresh() {
    list_->clear();
    if (currentPath.size() > 1) {
        list_->addItem(QString::fromLatin1(kParentItem));
    }
    for (const std::string& name : SubfolderNames(currentPath)) {
        list_->addItem(QString::fromStdString(name));
    }
    pathText_->setText(QString::fromStdString(currentPath));
}

void FolderDialog::Enter(const QListWidgetItem* item) {
    const std::string name = item->text().toStdString();
    currentPath = name == kParentItem ? ParentPath(currentPath) : currentPath + name + "\\";
    Refresh();
}
