#include "commands_fixture.h"

#include <QImage>
#include <QMouseEvent>
#include <QSettings>
#include <vector>

#include "ui/pixel_zoom_effect.h"
#include "ui/zoom_controller.h"
#include "ui/zoom_memory.h"

namespace {

using namespace commands_test;

class ZoomTest : public CommandsTest {
  protected:
    QImage Screen() {
        DeliverPostedEvents();
        return frame_.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QWidget& Relay() { return *view_->findChild<QWidget*>(QStringLiteral("ZoomInputRelay")); }
    // A press and release at an enlarged position, as the platform hands them to the
    // widget under the mouse, the relay covering the view.
    void ClickZoomed(QPoint at) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QMouseEvent event(type, QPointF(at), QPointF(at), QPointF(at), Qt::LeftButton, held,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(&Relay(), &event);
        }
    }
};

// Where a widget was pressed, in its own coordinates.
class PressRecorder : public QObject {
  public:
    std::vector<QPoint> pressed;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            pressed.push_back(static_cast<QMouseEvent*>(event)->position().toPoint());
        }
        return false;
    }
};

TEST_F(ZoomTest, EveryScreenPixelBecomesABlockAndTheKeysSetTheFactor) {
    StoreSnapshots(1);
    Click(View::kBrowse);
    const QImage unscaled = Screen();
    ASSERT_EQ(unscaled.size(), QSize(240, 268));

    PressKey(*view_, Qt::Key_Equal, Qt::ControlModifier);
    const QImage doubled = Screen();
    ASSERT_EQ(frame_.Zoom().Factor(), 2);
    ASSERT_EQ(frame_.size(), QSize(480, 536));
    ASSERT_EQ(doubled.size(), QSize(480, 536));
    int differing = 0;
    for (int y = 0; y < doubled.height(); ++y) {
        for (int x = 0; x < doubled.width(); ++x) {
            differing += doubled.pixel(x, y) != unscaled.pixel(x / 2, y / 2) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    for (int press = 0; press < 3; ++press) {
        PressKey(*view_, Qt::Key_Plus, Qt::ControlModifier);
    }
    EXPECT_EQ(frame_.Zoom().Factor(), 4);
    PressKey(*view_, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(frame_.Zoom().Factor(), 3);
    PressKey(*view_, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(frame_.Zoom().Factor(), 1);
    PressKey(*view_, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(frame_.Zoom().Factor(), 1);
    // Back at 1 the screen is the one it was, pixel for pixel.
    EXPECT_EQ(Screen(), unscaled);
    EXPECT_EQ(frame_.size(), QSize(240, 268));

    // A change of one child alone (spot 1 moved on the picture) repaints the whole
    // enlarged screen in the window's backing store, not just the child's unscaled place.
    frame_.Zoom().SetFactor(2);
    DeliverPostedEvents();
    PressKey(*view_, Qt::Key_Right);
    const QImage rendered = Screen();
    DeliverPostedEvents();
    const QImage painted =
        frame_.screen()->grabWindow(frame_.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(painted, rendered);
}

TEST_F(ZoomTest, ClicksAtZoomThreeReachTheSameCellAndButtonAsAtZoomOne) {
    PressRecorder recorder;
    view_->ThermalImage().installEventFilter(&recorder);
    frame_.Zoom().SetFactor(3);
    DeliverPostedEvents();
    // The thermal image starts at (1, 1) of the view; every enlarged pixel of a block
    // lands on the same unscaled pixel, the block's first and last alike.
    for (QPoint inView : {QPoint(1, 1), QPoint(12, 13), QPoint(196, 196), QPoint(100, 57)}) {
        for (int within : {0, 2}) {
            ClickZoomed(inView * 3 + QPoint(within, within));
            ASSERT_FALSE(recorder.pressed.empty());
            EXPECT_EQ(recorder.pressed.back(), inView - QPoint(1, 1)) << within;
        }
    }
    // Just right of the Hold button (1, 235, 47, 267): nothing; its last column: held.
    ClickZoomed(QPoint(47 * 3, 250 * 3));
    EXPECT_TRUE(LiveRowShown());
    ClickZoomed(QPoint(47 * 3 - 1, 250 * 3));
    EXPECT_TRUE(Shown(View::kSave));
    EXPECT_FALSE(LiveRowShown());
}

TEST_F(ZoomTest, TheFactorAndPlaceAreRememberedInTheDesktopConfiguration) {
    frame_.move(50, 60);
    frame_.Zoom().RestoreRemembered();
    // Nothing stored: the first-start factor of the test screen.
    const int firstStart = ZoomMemory::FirstStartFactor(
        frame_.screen()->availableGeometry().height(), ImagerView::kHeight);
    EXPECT_EQ(frame_.Zoom().Factor(), firstStart);
    frame_.Zoom().SetFactor(3);
    frame_.hide();

    EXPECT_EQ(ZoomMemory::File().toStdString(),
              (root_.Home() / "config/Therlix/Quorvel Imager.conf").string());
    QWidget next;
    ZoomController nextZoom(next);
    nextZoom.RestoreRemembered();
    EXPECT_EQ(nextZoom.Factor(), 3);
    EXPECT_EQ(next.pos(), QPoint(50, 60));

    QSettings(ZoomMemory::File(), QSettings::IniFormat).setValue("window/zoom", 9);
    EXPECT_EQ(ZoomMemory::Load().factor, std::nullopt);
}

// Only the screen's part of the source is enlarged, from its own top left corner; the
// buffer kept from the frame before takes the new picture whole.
TEST(PixelZoomEffectEnlarge, APartBecomesBlocksInTheBufferOfTheFrameBefore) {
    QImage picture(3, 2, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            picture.setPixel(x, y, qRgb(10 * x, 100 * y, 7));
        }
    }
    QImage into;
    PixelZoomEffect::Enlarge(picture, QRect(1, 0, 2, 2), 3, into);
    ASSERT_EQ(into.size(), QSize(6, 6));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            ASSERT_EQ(into.pixel(x, y), picture.pixel(1 + x / 3, y / 3)) << x << "," << y;
        }
    }
    const uchar* buffer = into.constBits();
    picture.fill(Qt::white);
    PixelZoomEffect::Enlarge(picture, QRect(1, 0, 2, 2), 3, into);
    EXPECT_EQ(into.constBits(), buffer);
    QImage white(6, 6, into.format());
    white.fill(Qt::white);
    EXPECT_EQ(into, white);
}

TEST(ZoomMemory, FirstStartTakesTheLargestFactorWithinHalfTheScreen) {
    // 268·N + 40 may take half of the available height.
    EXPECT_EQ(ZoomMemory::FirstStartFactor(600, 268), 1);
    EXPECT_EQ(ZoomMemory::FirstStartFactor(1151, 268), 1);
    EXPECT_EQ(ZoomMemory::FirstStartFactor(1152, 268), 2);
    EXPECT_EQ(ZoomMemory::FirstStartFactor(2120, 268), 3);
    EXPECT_EQ(ZoomMemory::FirstStartFactor(2224, 268), 4);
    EXPECT_EQ(ZoomMemory::FirstStartFactor(8000, 268), 4);
}

}  // namespace
