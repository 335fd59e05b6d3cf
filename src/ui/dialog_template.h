#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

class QDialogButtonBox;

// Builds a dialog's contents from a .ui template of the language bundle.
//
// The template's top-level widget is a plain QWidget form; it becomes the only child of
// the dialog and its window title the dialog's title. Controls are found by object name:
// control number n is the object "10NN" (1000 + n). OK and Cancel are the Ok and Cancel
// buttons of a QDialogButtonBox named "buttonBox"; a template without one gets a
// standard box below the form, so that every dialog can be closed.
namespace dialog_template {

// The handheld's screen below its title and menu bars: every dialog has this size.
inline constexpr int kWidth = 240;
inline constexpr int kHeight = 268;

// Loads `uiBytes` into `dialog`. Returns false when the bytes hold no form; the
// dialog then shows only its buttons.
bool Load(QDialog& dialog, const QByteArray& uiBytes);

// The button box of a loaded dialog.
QDialogButtonBox& Buttons(QDialog& dialog);

// The object name of control number `number`.
inline QString ObjectName(int number) {
    return QString::number(1000 + number);
}

// Control number `number` of the dialog, of kind T. A template that lacks it, or has
// it of another kind, gets a hidden stand-in (a StandIn) so that the dialog's values
// still flow.
template <class T, class StandIn = T>
T& Control(QDialog& dialog, int number) {
    const QString name = ObjectName(number);
    T* control = dialog.findChild<T*>(name);
    if (control == nullptr) {
        control = new StandIn(&dialog);
        control->setObjectName(name);
        control->hide();
    }
    return *control;
}

}  // namespace dialog_template
