#include "reinstall/error_message_box.h"

#include <QMessageBox>
#include <QString>

void ErrorMessageBox::Show(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quorvel Relumo"),
                    QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
}
