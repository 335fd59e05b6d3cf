#pragma once

// Helpers shared by the dialog tests: the application object, the English templates
// from the source tree, scripted platform services and user input.

#include <QApplication>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>
#include "support/test_application.h"

#include "platform/message_box_service.h"
#include "platform/string_resources.h"

namespace dialog_test {

// The one application object of the test program (whoever needs it first creates it;
// it lives until the program ends).
inline QApplication& Application() {
    return TestApplication();
}

inline QByteArray EnglishTemplate(int id) {
    QFile file(QString(QUORVEL_SOURCE_DIR "/lang/English/dialogs/%1.ui").arg(id));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MapStrings : public StringResources {
  public:
    explicit MapStrings(std::map<int, std::string> texts) : texts_(std::move(texts)) {}
    std::string String(int id) const override {
        auto found = texts_.find(id);
        return found != texts_.end() ? found->second : std::string();
    }

  private:
    std::map<int, std::string> texts_;
};

// Records the language message boxes shown and answers OK.
class RecordingMessages : public MessageBoxService {
  public:
    int ShowText(const std::string&, unsigned) override { return message_box::kIdOk; }
    int ShowString(int stringId, unsigned style) override {
        stringIds.push_back(stringId);
        styles.push_back(style);
        return message_box::kIdOk;
    }
    std::vector<int> stringIds;
    std::vector<unsigned> styles;
};

// Points the device root at a fresh temporary folder for the lifetime of the object.
class TemporaryDeviceRoot {
  public:
    TemporaryDeviceRoot() {
        const char* old = std::getenv("XDG_DATA_HOME");
        hadValue_ = old != nullptr;
        saved_ = hadValue_ ? old : "";
        std::string pattern = (std::filesystem::temp_directory_path() / "dialogs-XXXXXX").string();
        home_ = mkdtemp(pattern.data());
        setenv("XDG_DATA_HOME", home_.c_str(), 1);
        root_ = home_ / "therlix-handheld";
        std::filesystem::create_directories(root_);
    }
    ~TemporaryDeviceRoot() {
        if (hadValue_) {
            setenv("XDG_DATA_HOME", saved_.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    const std::filesystem::path& Root() const { return root_; }

  private:
    std::filesystem::path home_;
    std::filesystem::path root_;
    std::string saved_;
    bool hadValue_ = false;
};

// A left-button tap (press and release) at `position` of `widget`.
inline void Tap(QWidget& widget, QPoint position) {
    const QPointF local(position);
    const QPointF global(widget.mapToGlobal(position));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &release);
}

inline void PressKey(QWidget& widget, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&widget, &release);
}

inline void Type(QWidget& widget, const QString& text) {
    for (QChar c : text) {
        PressKey(widget, c.unicode(), QString(c));
    }
}

}  // namespace dialog_test
