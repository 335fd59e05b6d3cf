#pragma once

#include <QMessageBox>
#include <QString>

#include "platform/message_box_service.h"

class QWidget;
class StringResources;

// Message boxes with QMessageBox under the program's title. Styles and answers use the
// handheld's codes (message_box::kOkCancel | message_box::kIconError, message_box::kIdOk).
class QtMessageBoxService : public MessageBoxService {
  public:
    // `strings` supplies the texts for ShowString and may be null (empty texts).
    explicit QtMessageBoxService(const StringResources* strings, QWidget* parent = nullptr);

    int ShowText(const std::string& text, unsigned style) override;
    int ShowString(int stringId, unsigned style) override;

    // The parts of a style and the answer code of a pressed button.
    static QMessageBox::StandardButtons ButtonsFor(unsigned style);
    static QMessageBox::StandardButton DefaultButtonFor(unsigned style);
    static QMessageBox::Icon IconFor(unsigned style);
    static int AnswerFor(QMessageBox::StandardButton button);

    static QString Title();

  private:
    int Show(const QString& text, unsigned style);

    const StringResources* strings_;
    QWidget* parent_;
};
