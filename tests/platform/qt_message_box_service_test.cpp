#include "platform/qt/qt_message_box_service.h"

#include <gtest/gtest.h>

#include "support/test_application.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <map>

#include "support/fake_services.h"

namespace {

void EnsureApplication() {
    TestApplication();
}

// What the box showed, and which of its buttons the scripted user pressed.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Presses `answer` on the next modal message box and records what it showed.
void AnswerNextBox(QMessageBox::StandardButton answer, SeenBox& seen) {
    QTimer::singleShot(0, [answer, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(answer)->click();
    });
}

TEST(QtMessageBoxService, ShowsABuiltInTextAsItStands) {
    EnsureApplication();
    QtMessageBoxService service(nullptr);
    SeenBox seen;
    AnswerNextBox(QMessageBox::Cancel, seen);
    const int answer = service.ShowText("Error loading:\n4286 English.dll",
                                        message_box::kOkCancel | message_box::kIconError);
    EXPECT_EQ(answer, message_box::kIdCancel);
    EXPECT_EQ(seen.title, "Quorvel Imager");
    EXPECT_EQ(seen.text, "Error loading:\n4286 English.dll");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

TEST(QtMessageBoxService, ShowsALanguageStringById) {
    EnsureApplication();
    test_support::MapStrings strings;
    strings.Set(143, "Delete this snapshot?");
    QtMessageBoxService service(&strings);
    SeenBox seen;
    AnswerNextBox(QMessageBox::Yes, seen);
    EXPECT_EQ(service.ShowString(143, message_box::kYesNo | message_box::kIconQuestion),
              message_box::kIdYes);
    EXPECT_EQ(seen.text, "Delete this snapshot?");
    EXPECT_EQ(seen.icon, QMessageBox::Question);

    AnswerNextBox(QMessageBox::No, seen);
    EXPECT_EQ(service.ShowString(143, message_box::kYesNo), message_box::kIdNo);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);

    // Yes, No and Cancel: Cancel is its own answer.
    AnswerNextBox(QMessageBox::Cancel, seen);
    EXPECT_EQ(service.ShowString(143, message_box::kYesNoCancel), message_box::kIdCancel);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    // A string the bundle lacks gives an empty text; the box still works.
    AnswerNextBox(QMessageBox::Ok, seen);
    EXPECT_EQ(service.ShowString(142, message_box::kOk), message_box::kIdOk);
    EXPECT_EQ(seen.text, "");
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

}  // namespace
