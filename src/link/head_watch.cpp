#include "link/head_watch.h"

void HeadWatch::OpenAttempted(Clock::time_point now, bool opened) {
    watching_ = true;
    portOpen_ = opened;
    lastAttempt_ = now;
    if (opened) {
        lastSign_ = now;
    }
}

void HeadWatch::PortLost() {
    portOpen_ = false;
}

bool HeadWatch::ReopenDue(Clock::time_point now) const {
    return watching_ && !portOpen_ && now - lastAttempt_ >= kReopenInterval;
}

bool HeadWatch::HeadAbsent(Clock::time_point now) const {
    return watching_ && (!portOpen_ || now - lastSign_ >= kSilenceLimit);
}
