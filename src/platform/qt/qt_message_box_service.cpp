#include "platform/qt/qt_message_box_service.h"

#include "platform/string_resources.h"

namespace {

constexpr unsigned kButtonsMask = 0x0F;
constexpr unsigned kIconMask = 0xF0;

}  // namespace

QtMessageBoxService::QtMessageBoxService(const StringResources* strings, QWidget* parent)
    : strings_(strings), parent_(parent) {}

int QtMessageBoxService::ShowText(const std::string& text, unsigned style) {
    return Show(QString::fromStdString(text), style);
}

int QtMessageBoxService::ShowString(int stringId, unsigned style) {
    const std::string text = strings_ != nullptr ? strings_->String(stringId) : std::string();
    return Show(QString::fromStdString(text), style);
}

QMessageBox::StandardButtons QtMessageBoxService::ButtonsFor(unsigned style) {
    switch (style & kButtonsMask) {
        case message_box::kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case message_box::kYesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case message_box::kYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

QMessageBox::StandardButton QtMessageBoxService::DefaultButtonFor(unsigned style) {
    const unsigned buttons = style & kButtonsMask;
    return buttons == message_box::kYesNo || buttons == message_box::kYesNoCancel ? QMessageBox::Yes
                                                                                  : QMessageBox::Ok;
}

QMessageBox::Icon QtMessageBoxService::IconFor(unsigned style) {
    switch (style & kIconMask) {
        case message_box::kIconError:
            return QMessageBox::Critical;
        case message_box::kIconQuestion:
            return QMessageBox::Question;
        case message_box::kIconWarning:
            return QMessageBox::Warning;
        case message_box::kIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int QtMessageBoxService::AnswerFor(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return message_box::kIdOk;
        case QMessageBox::Yes:
            return message_box::kIdYes;
        case QMessageBox::No:
            return message_box::kIdNo;
        default:
            // Cancel, and a box closed without a button.
            return message_box::kIdCancel;
    }
}

QString QtMessageBoxService::Title() {
    return QStringLiteral("Quorvel Imager");
}

int QtMessageBoxService::Show(const QString& text, unsigned style) {
    QMessageBox box(IconFor(style), Title(), text, ButtonsFor(style), parent_);
    box.setDefaultButton(DefaultButtonFor(style));
    const QMessageBox::StandardButtons buttons = ButtonsFor(style);
    // Escape answers Cancel or No where the box has one, as on the handheld.
    if (buttons.testFlag(QMessageBox::Cancel)) {
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (buttons.testFlag(QMessageBox::No)) {
        box.setEscapeButton(QMessageBox::No);
    }
    box.exec();
    return AnswerFor(box.standardButton(box.clickedButton()));
}
