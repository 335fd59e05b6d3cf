#pragma once

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QObject>
#include <array>

#include "ui/zoom_memory.h"

class ImagerView;
class ZoomInputRelay;

// Zooms the imager's screen by whole factors 1–4: Ctrl+Plus (or Ctrl+=), Ctrl+Minus and
// Ctrl+0 in the window, and the same with the factors themselves in the window's context
// menu. At a factor above 1 the view grows to factor times its size and shows its
// unscaled screen enlarged pixel for pixel (PixelZoomEffect), and a ZoomInputRelay hands
// the mouse to its children at the unscaled positions; the keyboard is untouched. At 1
// the view is exactly the unscaled screen. The window's fixed size follows the view.
class ZoomController : public QObject {
  public:
    // Language strings of the menu entries: zoom in, zoom out, actual size, "Zoom %d×".
    static constexpr int kZoomInText = 171;
    static constexpr int kZoomOutText = 172;
    static constexpr int kActualSizeText = 173;
    static constexpr int kFactorText = 174;

    // Adds the shortcuts and the context menu to `window`.
    explicit ZoomController(QWidget& window);

    // The view to zoom, a child of the window; it names the menu entries in its language.
    void SetView(ImagerView& view);

    int Factor() const { return factor_; }
    // Any factor is brought into 1–4.
    void SetFactor(int factor);
    void ZoomIn() { SetFactor(factor_ + 1); }
    void ZoomOut() { SetFactor(factor_ - 1); }

    // Takes the factor and the window place an earlier run stored, or without them the
    // first-start factor for the window's screen, and stores both whenever the window is
    // hidden (closed) from now on.
    void RestoreRemembered();

    QMenu& Menu() { return menu_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateActions();
    void NameActions();
    void Apply();
    void ShowMenu(QPoint inWindow);

    QWidget& window_;
    ImagerView* view_ = nullptr;
    // Created with the first factor above 1; a child of the view.
    ZoomInputRelay* relay_ = nullptr;
    int factor_ = ZoomMemory::kSmallestFactor;
    bool remembering_ = false;
    QMenu menu_;
    QAction zoomIn_;
    QAction zoomOut_;
    QAction actualSize_;
    QActionGroup factorGroup_{nullptr};
    std::array<QAction, ZoomMemory::kLargestFactor> factorActions_;
};
