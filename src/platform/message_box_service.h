#pragma once

#include <string>

// Message box styles and answers, with the handheld's codes.
namespace message_box {
inline constexpr unsigned kOk = 0x00;
inline constexpr unsigned kOkCancel = 0x01;
inline constexpr unsigned kYesNoCancel = 0x03;
inline constexpr unsigned kYesNo = 0x04;
inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconWarning = 0x30;
inline constexpr unsigned kIconInformation = 0x40;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace message_box

// Shows modal message boxes on behalf of the Qt-free core. The GUI implements it with
// QMessageBox; tests script the answers.
class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    // A text built into the program (UTF-8), shown as it stands.
    virtual int ShowText(const std::string& text, unsigned style) = 0;
    // A text of the language bundle, by string id.
    virtual int ShowString(int stringId, unsigned style) = 0;
};
