#include "platform/qt/quiet_platform_messages.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <mutex>

namespace {

QtMessageHandler previousHandler = nullptr;

void FilterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg &&
        message == QLatin1String("This plugin does not support propagateSizeHints()")) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

void quiet_platform_messages::Install() {
    static std::once_flag installed;
    std::call_once(installed, [] { previousHandler = qInstallMessageHandler(FilterMessage); });
}
