#include "ui/pixel_zoom_effect.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>

PixelZoomEffect::PixelZoomEffect(int factor, QSize screen, QWidget& cover)
    : factor_(factor), screen_(screen), cover_(cover) {}

QImage PixelZoomEffect::Enlarged(const QImage& picture, int factor) {
    return picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void PixelZoomEffect::draw(QPainter* painter) {
    QPoint offset;
    const QPixmap source = sourcePixmap(Qt::LogicalCoordinates, &offset, NoPad);
    // On a desktop scaled by the platform a screen pixel covers `ratio` device pixels.
    const qreal ratio = source.devicePixelRatio();
    const QRect screen(QPointF(-offset * ratio).toPoint(), (QSizeF(screen_) * ratio).toSize());
    QImage enlarged = Enlarged(source.toImage().copy(screen), factor_);
    enlarged.setDevicePixelRatio(ratio);
    painter->drawImage(QPoint(0, 0), enlarged);

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
