#pragma once

// Helpers of the command and workflow tests: scripted message boxes, update delivery
// through the event loop, a driver for the modal settings dialog, key presses as the
// platform delivers them, and the snapshot files on disk.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "document/archive_reader.h"
#include "document/document_archive.h"
#include "document/document_record.h"
#include "document/view_list.h"
#include "platform/device_root.h"
#include "platform/message_box_service.h"
#include "platform/qt/icon_resources.h"
#include "platform/qt/qt_update_notifier.h"
#include "platform/whole_file.h"
#include "support/archive_file.h"
#include "ui/dialog_template.h"
#include "ui/imager_view.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"

// Sends the shortcut override of a key press as the platform does before the press
// itself; true when a shortcut took the key (exported by Qt Gui for its test library).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace workflow_test {

using test_support::FakeIcons;
using test_support::ScriptedMessageBoxes;

// Hands the posted update events to the document's views, as the application does.
class UpdateReceiver : public QObject {
  public:
    void Attach(ViewList& document) { document_ = &document; }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QtUpdateNotifier::Event::kType) {
            return QObject::event(event);
        }
        if (document_ != nullptr) {
            document_->UpdateViews(static_cast<QtUpdateNotifier::Event*>(event)->Hint());
        }
        return true;
    }

  private:
    ViewList* document_ = nullptr;
};

inline void DeliverPostedEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Puts `view` on the screen as the application does, with the test's clock: the screen
// created, the main window shown and active, the posted updates delivered.
inline void ShowInWindow(ImagerView& view, MainWindow& window, ViewCommands::Clock clock) {
    view.Commands().SetClock(std::move(clock));
    view.CreateScreen();
    window.SetView(&view);
    window.show();
    QApplication::setActiveWindow(&window);
    DeliverPostedEvents();
}

// Works the settings dialog once the command has opened it modally: `step` runs from
// the dialog's own event loop and must close the dialog.
class SettingsDialogDriver {
  public:
    explicit SettingsDialogDriver(std::function<void(SettingsDialog&)> step)
        : step_(std::move(step)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(0);
    }
    bool Ran() const { return ran_; }

    template <class T>
    static T& Control(SettingsDialog& dialog, int number) {
        T* control = dialog.findChild<T*>(dialog_template::ObjectName(number));
        if (control == nullptr) {
            ADD_FAILURE() << "no control " << number;
            control = &dialog_template::Control<T>(dialog, number);
        }
        return *control;
    }
    static void Press(SettingsDialog& dialog, QDialogButtonBox::StandardButton which) {
        dialog_template::Buttons(dialog).button(which)->click();
    }

  private:
    void Poll() {
        auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
        if (ran_ || dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        ran_ = true;
        timer_.stop();
        step_(*dialog);
    }

    std::function<void(SettingsDialog&)> step_;
    QTimer timer_;
    bool ran_ = false;
};

// A key press and release as the platform delivers them: shortcuts first.
inline void PressKey(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (qt_sendShortcutOverrideEvent(&target, 0, key, modifiers)) {
        return;
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(&target, &release);
}

// The snapshot files of a handheld folder, by name.
inline std::vector<std::string> SnapshotNames(const std::string& handheldFolder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry :
         std::filesystem::directory_iterator(device_root::Map(handheldFolder), ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".snp")) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline DocumentRecord ReadArchive(const std::filesystem::path& file) {
    return test_support::ReadArchiveFile(file);
}

}  // namespace workflow_test
