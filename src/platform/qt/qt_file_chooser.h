#pragma once

#include <QString>

#include "platform/file_chooser.h"

class QWidget;
class StringResources;

// The standard file dialog (QFileDialog) with the language bundle's title and filter
// names: snapshot files ("*.snp") first, any file as the second choice.
class QtFileChooser : public FileChooser {
  public:
    static constexpr int kTitle = 168;
    static constexpr int kSnapshotFilter = 169;
    static constexpr int kAnyFileFilter = 170;

    // `strings` supplies the texts and may be null (empty texts).
    explicit QtFileChooser(const StringResources* strings, QWidget* parent = nullptr);

    std::optional<std::filesystem::path> ChooseSnapshot(
        const std::filesystem::path& folder) override;

  private:
    // The dialog's filter list: "<169> (*.snp);;<170> (*)".
    QString Filters() const;
    QString Text(int id) const;

    const StringResources* strings_;
    QWidget* parent_;
};
