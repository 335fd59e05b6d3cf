#include "display/qt/offscreen_dc.h"

#include <QPainter>
#include <QWidget>

OffscreenDC::OffscreenDC(int width, int height) : image_(width, height, QImage::Format_RGB32) {
    if (!image_.isNull()) {
        image_.fill(Qt::black);
    }
}

void ShowOffscreenImage(QWidget& control, const QImage* image) {
    if (image == nullptr) {
        return;
    }
    QPainter screen(&control);
    screen.drawImage(QPoint(0, 0), *image);
}
