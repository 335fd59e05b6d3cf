#include "display/qt/gdi_painter.h"

#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QPaintDevice>
#include <bit>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "display/qt/default_font.h"
#include "display/qt/text_layout_cache.h"

namespace {

const QColor kBorderDarkGrey(64, 64, 64);
const QColor kBorderLightGrey(192, 192, 192);
const QColor kBorderGrey(128, 128, 128);
const QColor kBorderWhite(255, 255, 255);

}  // namespace

GdiPainter::GdiPainter(QPaintDevice* device) : painter_(device) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.setFont(DefaultControlFont());
    painter_.setBackgroundMode(Qt::TransparentMode);
}

QColor GdiPainter::FromColourRef(ColourRef colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

void GdiPainter::PlotRun(int x, int y, int length, bool horizontal) {
    if (horizontal) {
        painter_.fillRect(QRect(x, y, length, 1), pen_);
    } else {
        painter_.fillRect(QRect(x, y, 1, length), pen_);
    }
}

void GdiPainter::LineTo(int x, int y) {
    const QPoint from = position_;
    position_ = QPoint(x, y);
    const int dx = x - from.x();
    const int dy = y - from.y();
    if (dy == 0 && dx != 0) {
        PlotRun(dx > 0 ? from.x() : x + 1, y, std::abs(dx), true);
        return;
    }
    if (dx == 0 && dy != 0) {
        PlotRun(x, dy > 0 ? from.y() : y + 1, std::abs(dy), false);
        return;
    }
    // Bresenham, stopping before the end point.
    const int stepX = dx > 0 ? 1 : -1;
    const int stepY = dy > 0 ? 1 : -1;
    const int ax = std::abs(dx);
    const int ay = std::abs(dy);
    int error = ax - ay;
    int px = from.x();
    int py = from.y();
    while (px != x || py != y) {
        painter_.fillRect(QRect(px, py, 1, 1), pen_);
        const int twice = 2 * error;
        if (twice > -ay) {
            error -= ay;
            px += stepX;
        }
        if (twice < ax) {
            error += ax;
            py += stepY;
        }
    }
}

void GdiPainter::FillRect(const QRect& rect, const QColor& colour) {
    if (rect.width() > 0 && rect.height() > 0) {
        painter_.fillRect(rect, colour);
    }
}

void GdiPainter::FrameRect(const QRect& rect, const QColor& colour) {
    if (rect.width() <= 0 || rect.height() <= 0) {
        return;
    }
    const int x = rect.x();
    const int y = rect.y();
    const int w = rect.width();
    const int h = rect.height();
    painter_.fillRect(QRect(x, y, w, 1), colour);
    painter_.fillRect(QRect(x, y + h - 1, w, 1), colour);
    painter_.fillRect(QRect(x, y, 1, h), colour);
    painter_.fillRect(QRect(x + w - 1, y, 1, h), colour);
}

void GdiPainter::Draw3dRect(const QRect& rect, const QColor& topLeft, const QColor& bottomRight) {
    if (rect.width() <= 0 || rect.height() <= 0) {
        return;
    }
    const int x = rect.x();
    const int y = rect.y();
    const int w = rect.width();
    const int h = rect.height();
    FillRect(QRect(x, y, w - 1, 1), topLeft);
    FillRect(QRect(x, y, 1, h - 1), topLeft);
    painter_.fillRect(QRect(x + w - 1, y, 1, h), bottomRight);
    painter_.fillRect(QRect(x, y + h - 1, w, 1), bottomRight);
}

void GdiPainter::Ellipse(int left, int top, int right, int bottom) {
    if (right - left < 1 || bottom - top < 1) {
        return;
    }
    painter_.save();
    painter_.setPen(QPen(pen_, 1));
    painter_.setBrush(Qt::NoBrush);
    // A stroked shape covers its rectangle plus one pixel, so the box shrinks by one.
    painter_.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    painter_.restore();
}

void GdiPainter::DrawSunkenBorder(const QRect& client) {
    const int l = client.left();
    const int t = client.top();
    const int r = client.left() + client.width();
    const int b = client.top() + client.height();
    SetPen(kBorderDarkGrey);
    MoveTo(l + 1, b - 2);
    LineTo(l + 1, t + 1);
    LineTo(r - 2, t + 1);
    SetPen(kBorderLightGrey);
    LineTo(r - 2, b - 2);
    LineTo(l, b - 2);
    SetPen(kBorderGrey);
    LineTo(l, t);
    LineTo(r - 1, t);
    SetPen(kBorderWhite);
    LineTo(r - 1, b - 1);
    LineTo(l - 1, b - 1);
}

QRect GdiPainter::TextExtent(const TextPlacement& placement, const QString& text) const {
    const QFontMetrics metrics(painter_.font());
    const int width = texts_ != nullptr ? texts_->Find(text, painter_.font()).width
                                        : metrics.horizontalAdvance(text);
    const int height = metrics.height();
    const ScreenRect& r = placement.rect;
    int x = r.left;
    switch (placement.horizontal) {
        case HorizontalAlign::kLeft:
            break;
        case HorizontalAlign::kCentre:
            x = r.left + (r.Width() - width) / 2;
            break;
        case HorizontalAlign::kRight:
            x = r.right - width;
            break;
    }
    int y = r.top;
    switch (placement.vertical) {
        case VerticalAlign::kTop:
            break;
        case VerticalAlign::kCentre:
            y = r.top + (r.Height() - height) / 2;
            break;
        case VerticalAlign::kBottom:
            y = r.bottom - height;
            break;
    }
    return QRect(x, y, width, height);
}

void GdiPainter::DrawText(const TextPlacement& placement, const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    const QRect extent = TextExtent(placement, text);
    painter_.setPen(textColour_);
    if (texts_ != nullptr) {
        painter_.drawStaticText(extent.topLeft(), texts_->Find(text, painter_.font()).text);
        return;
    }
    painter_.drawText(QPoint(extent.x(), extent.y() + QFontMetrics(painter_.font()).ascent()),
                      text);
}

void GdiPainter::DrawShadowedText(const TextPlacement& placement, const QString& text) {
    SetTextColor(Qt::black);
    DrawText(placement, text);
    SetTextColor(Qt::white);
    DrawText({placement.rect.Offset(-1, -1), placement.horizontal, placement.vertical}, text);
}

void GdiPainter::BitBlt(int x, int y, const QImage& source) {
    painter_.drawImage(QPoint(x, y), source);
}

void GdiPainter::DrawIcon(int x, int y, const QIcon& icon, int size) {
    if (!icon.isNull()) {
        painter_.drawPixmap(QPoint(x, y), icon.pixmap(size, size));
    }
}

void GdiPainter::BlitBottomUpBgr(int x, int y, int width, int height, const std::uint8_t* pixels,
                                 int rowBytes) {
    QImage upright;
    CopyBottomUpBgr(upright, width, height, pixels, rowBytes);
    BitBlt(x, y, upright);
}

// A plain copy loop: drawing the 24-bit rows through a mirroring transform costs several
// times more and spreads over Qt's worker threads. On little-endian machines four bytes
// read at a pixel are blue, green, red and a byte of the next pixel, which the opaque
// alpha replaces; the last pixel of a row is read byte by byte, so no read passes it.
void GdiPainter::CopyBottomUpBgr(QImage& image, int width, int height, const std::uint8_t* pixels,
                                 int rowBytes) {
    if (image.size() != QSize(width, height) || image.format() != QImage::Format_RGB32) {
        image = QImage(width, height, QImage::Format_RGB32);
    }
    if (image.isNull()) {
        return;
    }
    constexpr std::uint32_t kOpaque = 0xFF000000u;
    for (int row = 0; row < height; ++row) {
        // Row 0 of the buffer is the bottom row on screen.
        const std::uint8_t* source =
            pixels + static_cast<std::ptrdiff_t>(height - 1 - row) * rowBytes;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(row));
        int column = 0;
        if constexpr (std::endian::native == std::endian::little) {
            for (; column + 1 < width; ++column) {
                std::uint32_t bgrx = 0;
                std::memcpy(&bgrx, source + 3 * column, sizeof bgrx);
                target[column] = bgrx | kOpaque;
            }
        }
        for (; column < width; ++column) {
            const std::uint8_t* bgr = source + 3 * column;
            target[column] = qRgb(bgr[2], bgr[1], bgr[0]);
        }
    }
}
