#include "platform/qt/qt_update_notifier.h"

#include <gtest/gtest.h>

#include "support/test_application.h"

#include <QApplication>
#include <thread>
#include <vector>

namespace {

void EnsureApplication() {
    TestApplication();
}

class HintRecorder : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QtUpdateNotifier::Event::kType) {
            hints.push_back(static_cast<QtUpdateNotifier::Event*>(event)->Hint());
            return true;
        }
        return QObject::event(event);
    }
    std::vector<std::uint32_t> hints;
};

TEST(QtUpdateNotifier, PostsHintsFromAnyThreadThatArriveInOrderInTheEventLoop) {
    EnsureApplication();
    HintRecorder recorder;
    QtUpdateNotifier notifier(&recorder);
    notifier.PostUpdate(4);
    std::thread poster([&notifier] {
        for (std::uint32_t hint = 1; hint <= 1024; hint *= 2) {
            notifier.PostUpdate(hint);
        }
    });
    poster.join();
    EXPECT_TRUE(recorder.hints.empty()) << "posted, not sent";
    QCoreApplication::sendPostedEvents(&recorder);
    ASSERT_EQ(recorder.hints.size(), 12u);
    EXPECT_EQ(recorder.hints.front(), 4u);
    EXPECT_EQ(recorder.hints[1], 1u);
    EXPECT_EQ(recorder.hints.back(), 1024u);
}

}  // namespace
