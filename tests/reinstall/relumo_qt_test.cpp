#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "reinstall/error_message_box.h"
#include "reinstall/wait_cursor.h"

namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "test_reinstall";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QApplication application(argc, argv);
    return application;
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

TEST(ErrorMessageBox, ShowsTheTextModallyWithAnOkButton) {
    Application();
    SeenBox seen;
    int checks = 0;
    QTimer answer;
    // Answers the box as a person would, once it is up.
    QObject::connect(&answer, &QTimer::timeout, [&] {
        ++checks;
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen = {box->windowTitle(), box->text(), box->standardButtons(), box->icon()};
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(10);

    error_message_box::Show("Error re-instating the .cab file");
    answer.stop();

    EXPECT_GT(checks, 0);
    EXPECT_EQ(seen.text.toStdString(), "Error re-instating the .cab file");
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.title.toStdString(), "Quorvel Relumo");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

TEST(WaitCursor, ShowsTheWaitCursorForItsLifetime) {
    Application();
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        const WaitCursor waitCursor;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
