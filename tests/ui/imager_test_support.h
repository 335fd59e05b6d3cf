#pragma once

// The shared helpers the view and application tests use: the application object, a
// temporary device root in the English locale, scripted services.

#include <QApplication>

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>
#include "support/test_application.h"

#include "support/environment.h"
#include "support/fake_icons.h"
#include "support/fake_services.h"

namespace imager_test {

inline QApplication& Application() {
    return TestApplication();
}

using test_support::FakeIcons;
using test_support::MapStrings;
using test_support::RecordingNotifier;
using test_support::ScopedEnvironment;
using test_support::ScriptedMessageBoxes;

// A device root with the English (United States) locale.
class TemporaryDeviceRoot : public test_support::TemporaryDeviceRoot {
  public:
    TemporaryDeviceRoot() : test_support::TemporaryDeviceRoot(Locale::kEnglish) {}
};

// Answers every modal message box with its default button while it lives, and
// remembers what the boxes said.
class MessageBoxAnswerer {
  public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::NoButton)
        : answer_(answer) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBox(); });
        timer_.start(5);
    }

    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    std::vector<Seen> seen;

  private:
    void AnswerOpenBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
        QAbstractButton* button = box->defaultButton();
        if (answer_ != QMessageBox::NoButton) {
            button = box->button(answer_);
        }
        (button != nullptr ? button : box->buttons().front())->click();
    }

    QMessageBox::StandardButton answer_;
    QTimer timer_;
};

}  // namespace imager_test
