#include "platform/qt/quiet_platform_messages.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace {

QStringList captured;

void Capture(QtMsgType, const QMessageLogContext&, const QString& message) {
    captured.append(message);
}

TEST(QuietPlatformMessagesTest, DropsOnlyTheSizeHintWarning) {
    const QtMessageHandler original = qInstallMessageHandler(Capture);
    quiet_platform_messages::Install();
    quiet_platform_messages::Install();
    qWarning("This plugin does not support propagateSizeHints()");
    qWarning("This plugin does not support raise()");
    qInfo("This plugin does not support propagateSizeHints()");
    qInstallMessageHandler(original);
    EXPECT_EQ(captured, (QStringList{"This plugin does not support raise()",
                                     "This plugin does not support propagateSizeHints()"}));
}

}  // namespace
