#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

class QMouseEvent;

// A transparent cover over an enlarged view that hands every mouse event to the child
// of the view under the unscaled position (position / factor, rounded down), as if the
// view were shown unscaled: presses, moves, releases and double clicks; the widget
// pressed keeps the mouse until the last button is released; entering and leaving go
// to the widget under the mouse. It takes no keyboard focus.
class ZoomInputRelay : public QWidget {
  public:
    // Covers `view` (becomes its topmost child), hidden until SetFactor.
    explicit ZoomInputRelay(QWidget& view);

    // Covers the view and relays at `factor`; hidden at 1.
    void SetFactor(int factor);

    // The unscaled view position of an enlarged one.
    QPoint ToView(QPointF enlarged) const;
    // The deepest visible child of the view at an unscaled position; the view itself
    // where there is none.
    QWidget* TargetAt(QPoint atView) const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void Relay(QMouseEvent* event);
    // Leave to the widget hovered so far, enter to `target` (none: the mouse left).
    void HoverOver(QWidget* target, QPoint atView, QPointF global);

    QWidget& view_;
    int factor_ = 1;
    QPointer<QWidget> grabber_;
    QPointer<QWidget> hovered_;
};
