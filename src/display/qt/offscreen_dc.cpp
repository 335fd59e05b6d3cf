#include "display/qt/offscreen_dc.h"

OffscreenDC::OffscreenDC(int width, int height) : image_(width, height, QImage::Format_RGB32) {
    if (!image_.isNull()) {
        image_.fill(Qt::black);
    }
}
