#include "reinstall/error_message_box.h"

#include <QMessageBox>
#include <QString>

void error_message_box::Show(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quorvel Relumo"),
                    QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
}
