#pragma once

#include <QImage>

class QWidget;

// An off-screen image of a control's size. A control draws everything into it and
// copies it to the screen in one transfer, so the screen never shows a half-drawn
// control. It starts black.
class OffscreenDC {
  public:
    OffscreenDC(int width, int height);

    // False when the image could not be allocated.
    bool IsValid() const { return !image_.isNull(); }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

  private:
    QImage image_;
};

// In a paint handler: copies the control's off-screen image onto it; null draws nothing.
void ShowOffscreenImage(QWidget& control, const QImage* image);
