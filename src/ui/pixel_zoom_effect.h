#pragma once

#include <QGraphicsEffect>
#include <QImage>
#include <QSize>
#include <QWidget>

// Draws the top left `screen` pixels of its widget, children included, `factor` times
// enlarged: every pixel becomes a factor × factor block (nearest neighbour, no
// smoothing), so the enlarged screen is exactly the unscaled one blown up.
class PixelZoomEffect : public QGraphicsEffect {
  public:
    // `cover` lies over the whole widget, is not opaque and has no children: updating it
    // repaints and shows all of the widget. (An update of the widget itself leaves out
    // the places of its opaque children, which at 1:1 hold other parts of the enlarged
    // screen.)
    PixelZoomEffect(int factor, QSize screen, QWidget& cover);

    // The `part` of `picture` with every pixel repeated as a factor × factor block,
    // written into `into`, whose buffer is kept when it already has the size and format.
    static void Enlarge(const QImage& picture, QRect part, int factor, QImage& into);

  protected:
    void draw(QPainter* painter) override;

  private:
    // Whether `painter` may paint all of `whole` (logical coordinates).
    static bool CoversWhole(QPainter& painter, const QRect& whole);

    int factor_;
    QSize screen_;
    QWidget& cover_;
    QImage enlarged_;
};
