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

#include "support/environment.h"
#include "support/fake_services.h"

namespace dialog_test {

// The one application object of the test program (whoever needs it first creates it;
// it lives until the program ends).
inline QApplication& Application() {
    return TestApplication();
}

using test_support::MapStrings;
using test_support::ScriptedMessageBoxes;
using test_support::TemporaryDeviceRoot;

inline QByteArray EnglishTemplate(int id) {
    QFile file(QString(QUORVEL_SOURCE_DIR "/lang/English/dialogs/%1.ui").arg(id));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
