#include "ui/image_button.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QStringList>
#include <algorithm>

#include "display/qt/default_font.h"
#include "display/qt/gdi_painter.h"
#include "display/screen_rect.h"
#include "display/text_placement.h"
#include "platform/qt/icon_resources.h"

namespace {

constexpr int kIconMargin = 3;
constexpr int kMaxCaptionLength = 256;

// Breaks a caption into lines no wider than `width` at spaces and line breaks; a word
// wider than `width` keeps a line of its own.
QStringList WrapCaption(const QString& caption, int width, const QFontMetrics& metrics) {
    QStringList lines;
    for (const QString& paragraph : caption.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (line.isEmpty() || metrics.horizontalAdvance(candidate) <= width) {
                line = candidate;
            } else {
                lines.append(line);
                line = word;
            }
        }
        lines.append(line);
    }
    return lines;
}

}  // namespace

const QColor ImageButton::kFace(192, 192, 192);
const QColor ImageButton::kShadow(128, 128, 128);
const QColor ImageButton::kHighlight(255, 255, 255);
const QColor ImageButton::kText(0, 0, 0);

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    setFont(DefaultControlFont());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageButton::SetToggle(bool toggle) {
    setCheckable(toggle);
    update();
}

void ImageButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    update();
}

int ImageButton::SetIcon(const IconResources& icons, int iconId, int width, int height) {
    icon_ = icons.Icon(iconId);
    iconSize_ = QSize(width, height);
    update();
    return 0;
}

int ImageButton::SetFlat(bool flat, bool repaint) {
    flat_ = flat;
    if (repaint) {
        update();
    }
    return 0;
}

int ImageButton::SetAlignment(int alignment, bool repaint) {
    if (alignment < kIconLeft || alignment > kIconRight) {
        return kInvalidArgument;
    }
    alignment_ = alignment;
    if (repaint) {
        update();
    }
    return 0;
}

int ImageButton::SetCheck(int state, bool repaint) {
    if (IsToggle()) {
        setChecked(state != 0);
        if (repaint) {
            update();
        }
    }
    return 0;
}

QSize ImageButton::sizeHint() const {
    return QSize(46, 32);
}

bool ImageButton::IsPressed() const {
    return isDown() || (IsToggle() && isChecked());
}

void ImageButton::paintEvent(QPaintEvent*) {
    const bool pressed = IsPressed();
    GdiPainter painter(this);
    QRect item = rect();
    if (!flat_ && (hasFocus() || default_)) {
        painter.FrameRect(item, Qt::black);
        item.adjust(1, 1, -1, -1);
    }
    DrawBackground(painter, item);
    DrawBorder(painter, item, pressed);

    // Icon and caption are placed in the whole button, inside any focus frame.
    ScreenRect captionArea{0, 0, width(), height()};
    const bool shifted = pressed && !IsToggle();
    DrawIcon(painter, captionArea, shifted);
    DrawCaption(painter, captionArea, shifted);
}

void ImageButton::DrawBackground(GdiPainter& painter, const QRect& rect) {
    painter.FillRect(rect, kFace);
}

void ImageButton::DrawBorder(GdiPainter& painter, const QRect& rect, bool pressed) {
    if (pressed) {
        painter.Draw3dRect(rect, kShadow, kHighlight);
    } else if (!flat_ || hovering_) {
        painter.Draw3dRect(rect, kHighlight, kShadow);
    }
}

void ImageButton::DrawIcon(GdiPainter& painter, ScreenRect& captionArea, bool shifted) {
    if (icon_.isNull()) {
        return;
    }
    const int w = iconSize_.width();
    const int h = iconSize_.height();
    const bool hasCaption = !text().isEmpty();
    int x = (width() - w) / 2;
    int y = (height() - h) / 2;
    if (hasCaption) {
        switch (alignment_) {
            case kIconLeft:
                x = kIconMargin;
                captionArea.left += w + kIconMargin;
                break;
            case kIconAbove:
                y = kIconMargin;
                captionArea.top += h;
                break;
            case kIconRight:
                x = width() - w - kIconMargin;
                captionArea.right -= captionArea.left + w + kIconMargin;
                captionArea.left = kIconMargin;
                break;
        }
    }
    if (shifted) {
        ++x;
        ++y;
    }
    painter.BitBlt(x, y, icon_.pixmap(iconSize_, 1.0).toImage());
}

void ImageButton::DrawCaption(GdiPainter& painter, ScreenRect captionArea, bool shifted) {
    const QString caption = text().left(kMaxCaptionLength);
    if (caption.isEmpty()) {
        return;
    }
    if (shifted) {
        captionArea = captionArea.Offset(1, 1);
    }
    // Measure the wrapped caption, then centre the measured block in the caption area.
    const QFontMetrics metrics(DefaultControlFont());
    const QStringList lines = WrapCaption(caption, captionArea.Width(), metrics);
    int blockWidth = 0;
    for (const QString& line : lines) {
        blockWidth = std::max(blockWidth, metrics.horizontalAdvance(line));
    }
    const int lineHeight = metrics.height();
    const int blockHeight = lineHeight * static_cast<int>(lines.size());
    const int left = captionArea.left + (captionArea.Width() - blockWidth) / 2;
    const int top = captionArea.top + (captionArea.Height() - blockHeight) / 2;

    auto drawLines = [&](int dx, int dy, const QColor& colour) {
        painter.SetTextColor(colour);
        for (int i = 0; i < lines.size(); ++i) {
            const int lineTop = top + i * lineHeight + dy;
            const ScreenRect line{left + dx, lineTop, left + blockWidth + dx, lineTop + lineHeight};
            painter.DrawText({line, HorizontalAlign::kCentre, VerticalAlign::kTop}, lines[i]);
        }
    };
    if (!isEnabled()) {
        // Embossed: a highlight copy one pixel right and down under the shadow copy.
        drawLines(1, 1, kHighlight);
        drawLines(0, 0, kShadow);
    } else {
        drawLines(0, 0, kText);
    }
}

void ImageButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double tap is two presses.
    mousePressEvent(event);
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    HoverStart();
    QAbstractButton::mouseMoveEvent(event);
}

void ImageButton::enterEvent(QEnterEvent* event) {
    HoverStart();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    HoverEnd();
    QAbstractButton::leaveEvent(event);
}

void ImageButton::focusOutEvent(QFocusEvent* event) {
    HoverEnd();
    QAbstractButton::focusOutEvent(event);
}

void ImageButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        HoverEnd();
    } else if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        // Qt has already passed the focus on to the next widget in the tab order.
        HoverEnd();
    }
    QAbstractButton::changeEvent(event);
}

void ImageButton::HoverStart() {
    if (!flat_ || hovering_ || (QApplication::mouseButtons() & Qt::LeftButton)) {
        return;
    }
    hovering_ = true;
    update();
}

void ImageButton::HoverEnd() {
    if (!flat_ || !hovering_) {
        return;
    }
    hovering_ = false;
    update();
}
