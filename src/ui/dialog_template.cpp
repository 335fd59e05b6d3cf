#include "ui/dialog_template.h"

#include <QBuffer>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QUiLoader>
#include <QVBoxLayout>

namespace {
const char* const kButtonBoxName = "buttonBox";
}  // namespace

bool dialog_template::Load(QDialog& dialog, const QByteArray& uiBytes) {
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    dialog.setFixedSize(kWidth, kHeight);

    QByteArray bytes = uiBytes;
    QBuffer buffer(&bytes);
    QWidget* form = nullptr;
    if (!bytes.isEmpty() && buffer.open(QIODevice::ReadOnly)) {
        QUiLoader loader;
        form = loader.load(&buffer, &dialog);
    }
    if (form != nullptr) {
        layout->addWidget(form);
        dialog.setWindowTitle(form->windowTitle());
    }
    if (dialog.findChild<QDialogButtonBox*>(kButtonBoxName) == nullptr) {
        auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        box->setObjectName(kButtonBoxName);
        box->setContentsMargins(6, 0, 6, 6);
        layout->addWidget(box);
    }
    // Return in an entry field means OK, as on the handheld.
    if (QPushButton* ok = Buttons(dialog).button(QDialogButtonBox::Ok)) {
        ok->setDefault(true);
    }
    return form != nullptr;
}

QDialogButtonBox& dialog_template::Buttons(QDialog& dialog) {
    return *dialog.findChild<QDialogButtonBox*>(kButtonBoxName);
}
