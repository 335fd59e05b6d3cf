#include "ui/pixel_zoom_effect.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cstring>

PixelZoomEffect::PixelZoomEffect(int factor, QSize screen, QWidget& cover)
    : factor_(factor), screen_(screen), cover_(cover) {}

void PixelZoomEffect::Enlarge(const QImage& picture, QRect part, int factor, QImage& into) {
    const QImage::Format format =
        picture.depth() == 32 ? picture.format() : QImage::Format_ARGB32_Premultiplied;
    const QImage converted = picture.depth() == 32 ? picture : picture.convertToFormat(format);
    part &= converted.rect();
    const QSize size = part.size() * factor;
    // The same buffer every time: a megabyte or more allocated and freed for each frame
    // makes the C library hand memory back and fault it in again, costing more than the
    // enlarging itself.
    if (into.size() != size || into.format() != format || !into.isDetached()) {
        into = QImage(size, format);
    }
    for (int row = 0; row < part.height(); ++row) {
        const auto* source =
            reinterpret_cast<const quint32*>(converted.constScanLine(part.top() + row)) +
            part.left();
        auto* first = reinterpret_cast<quint32*>(into.scanLine(row * factor));
        for (int column = 0; column < part.width(); ++column) {
            std::fill_n(first + column * factor, factor, source[column]);
        }
        for (int repeat = 1; repeat < factor; ++repeat) {
            std::memcpy(into.scanLine(row * factor + repeat), first,
                        static_cast<std::size_t>(size.width()) * sizeof(quint32));
        }
    }
}

void PixelZoomEffect::draw(QPainter* painter) {
    QPoint offset;
    const QPixmap source = sourcePixmap(Qt::LogicalCoordinates, &offset, NoPad);
    // On a desktop scaled by the platform a screen pixel covers `ratio` device pixels.
    const qreal ratio = source.devicePixelRatio();
    const QRect screen(QPointF(-offset * ratio).toPoint(), (QSizeF(screen_) * ratio).toSize());
    Enlarge(source.toImage(), screen, factor_, enlarged_);
    enlarged_.setDevicePixelRatio(ratio);
    painter->drawImage(QPoint(0, 0), enlarged_);

    // A child that changed repaints only its own unscaled rectangle, which holds just a
    // part of its enlarged copy: then the whole widget is painted once more.
    if (!CoversWhole(*painter, QRect(QPoint(0, 0), screen_ * factor_))) {
        QMetaObject::invokeMethod(&cover_, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    }
}

bool PixelZoomEffect::CoversWhole(QPainter& painter, const QRect& whole) {
    // QRegion::contains only tells whether the two overlap.
    const auto covers = [](const QRegion& region, const QRect& rect) {
        return (QRegion(rect) - region).isEmpty();
    };
    if (painter.hasClipping() && !covers(painter.clipRegion(), whole)) {
        return false;
    }
    // A widget's repaint limits the painting to its dirty region by the system clip, in
    // device coordinates; none means no limit.
    const QRegion systemClip = painter.paintEngine()->systemClip();
    return systemClip.isEmpty() ||
           covers(systemClip, painter.deviceTransform().mapRect(QRectF(whole)).toAlignedRect());
}
