#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

// The one application object of a widget test program: whoever needs it first creates
// it. It is never destroyed, since Qt's own statics may be gone when the program's are.
// Qt's own user settings (the file dialog's history, for one) go to a temporary folder
// of the test program, never to the user's configuration.
inline QApplication& TestApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return *existing;
    }
    static QTemporaryDir userSettings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userSettings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userSettings.path());
    static int argc = 1;
    static char name[] = "quorvel_test";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);
}
