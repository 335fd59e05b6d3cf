#pragma once

#include <QApplication>
#include <QCoreApplication>

// The one application object of a widget test program: whoever needs it first creates
// it. It is never destroyed, since Qt's own statics may be gone when the program's are.
inline QApplication& TestApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return *existing;
    }
    static int argc = 1;
    static char name[] = "quorvel_test";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);
}
