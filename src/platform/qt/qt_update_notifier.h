#pragma once

#include <QEvent>
#include <cstdint>

#include "platform/update_notifier.h"

class QObject;

// Posts each hint word as an event of type QEvent::User + 1 to a receiver on the
// user-interface thread. PostUpdate may be called from any thread; the receiver must
// outlive every thread that posts.
class QtUpdateNotifier : public UpdateNotifier {
  public:
    // The posted event; its receiver hands Hint() to the views.
    class Event : public QEvent {
      public:
        static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 1);
        explicit Event(std::uint32_t hint) : QEvent(kType), hint_(hint) {}
        std::uint32_t Hint() const { return hint_; }

      private:
        std::uint32_t hint_;
    };

    explicit QtUpdateNotifier(QObject* receiver) : receiver_(receiver) {}

    void PostUpdate(std::uint32_t hint) override;

  private:
    QObject* receiver_;
};
