#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>

#include "display/screen_rect.h"
#include "display/text_placement.h"
#include "palette/colour_ref.h"

class QIcon;
class TextLayoutCache;
class QPaintDevice;

// The one drawing helper of the controls: the handheld's drawing rules over QPainter,
// without antialiasing. Lines leave out their end point; rectangles are (x, y, width,
// height) and an empty one draws nothing; texts are single lines on a transparent
// background, never clipped to their rectangle.
class GdiPainter {
  public:
    explicit GdiPainter(QPaintDevice* device);
    GdiPainter(const GdiPainter&) = delete;
    GdiPainter& operator=(const GdiPainter&) = delete;

    static QColor FromColourRef(ColourRef colour);
    static QRect ToQRect(const ScreenRect& rect) {
        return QRect(rect.left, rect.top, rect.Width(), rect.Height());
    }

    // Solid pen of width 1 for lines and ellipse outlines.
    void SetPen(const QColor& colour) { pen_ = colour; }
    void MoveTo(int x, int y) { position_ = QPoint(x, y); }
    // Draws from the current position up to, not including, (x, y), which becomes the
    // current position.
    void LineTo(int x, int y);

    void FillRect(const QRect& rect, const QColor& colour);
    // One-pixel outline just inside the rectangle.
    void FrameRect(const QRect& rect, const QColor& colour);
    // One-pixel frame: top and left edges in topLeft, bottom and right edges (with the
    // top-right and bottom-left corners) in bottomRight.
    void Draw3dRect(const QRect& rect, const QColor& topLeft, const QColor& bottomRight);
    // Outline of the ellipse inside the bounding box (right and bottom exclusive) in
    // the current pen; the inside is left alone.
    void Ellipse(int left, int top, int right, int bottom);
    // The two-pixel sunken border every control draws around its client area.
    void DrawSunkenBorder(const QRect& client);

    void SetTextColor(const QColor& colour) { textColour_ = colour; }
    // Texts are then laid out through `cache`, which keeps them for later paints; the
    // pixels are the same. Null lays out every text anew.
    void SetTextCache(TextLayoutCache* cache) { texts_ = cache; }
    void DrawText(const TextPlacement& placement, const QString& text);
    // Black text, then white text one pixel up and left over it.
    void DrawShadowedText(const TextPlacement& placement, const QString& text);
    // The pixels the text covers when drawn with this placement.
    QRect TextExtent(const TextPlacement& placement, const QString& text) const;

    void BitBlt(int x, int y, const QImage& source);
    // Draws the icon at size × size pixels; a null icon draws nothing.
    void DrawIcon(int x, int y, const QIcon& icon, int size);
    // Copies a 24-bit picture stored bottom-up with bytes blue, green, red.
    void BlitBottomUpBgr(int x, int y, int width, int height, const std::uint8_t* pixels,
                         int rowBytes);
    // Such a picture copied upright into a 32-bit image, ready for BitBlt; the image is
    // made anew only when it does not have that size and format yet.
    static void CopyBottomUpBgr(QImage& image, int width, int height, const std::uint8_t* pixels,
                                int rowBytes);

  private:
    void PlotRun(int x, int y, int length, bool horizontal);

    QPainter painter_;
    QColor pen_{Qt::black};
    QColor textColour_{Qt::black};
    TextLayoutCache* texts_ = nullptr;
    QPoint position_;
};
