#include "platform/qt/qt_file_chooser.h"

#include <QFile>
#include <QFileDialog>

#include "platform/string_resources.h"

QtFileChooser::QtFileChooser(const StringResources* strings, QWidget* parent)
    : strings_(strings), parent_(parent) {}

QString QtFileChooser::Text(int id) const {
    return strings_ != nullptr ? QString::fromStdString(strings_->String(id)) : QString();
}

QString QtFileChooser::Filters() const {
    return QStringLiteral("%1 (*.snp);;%2 (*)").arg(Text(kSnapshotFilter), Text(kAnyFileFilter));
}

std::optional<std::filesystem::path> QtFileChooser::ChooseSnapshot(
    const std::filesystem::path& folder) {
    const QString chosen = QFileDialog::getOpenFileName(
        parent_, Text(kTitle), QFile::decodeName(folder.c_str()), Filters());
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(QFile::encodeName(chosen).toStdString());
}
