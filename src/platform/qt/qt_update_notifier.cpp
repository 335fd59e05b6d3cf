#include "platform/qt/qt_update_notifier.h"

#include <QCoreApplication>

void QtUpdateNotifier::PostUpdate(std::uint32_t hint) {
    if (receiver_ != nullptr) {
        // Qt takes ownership of the event; postEvent is safe from any thread.
        QCoreApplication::postEvent(receiver_, new Event(hint));
    }
}
