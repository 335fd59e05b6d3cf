#include "ui/zoom_input_relay.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <cmath>

ZoomInputRelay::ZoomInputRelay(QWidget& view) : QWidget(&view), view_(view) {
    setObjectName(QStringLiteral("ZoomInputRelay"));
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void ZoomInputRelay::SetFactor(int factor) {
    factor_ = factor;
    setGeometry(view_.rect());
    raise();
    setVisible(factor > 1);
}

QPoint ZoomInputRelay::ToView(QPointF enlarged) const {
    return QPoint(static_cast<int>(std::floor(enlarged.x() / factor_)),
                  static_cast<int>(std::floor(enlarged.y() / factor_)));
}

QWidget* ZoomInputRelay::TargetAt(QPoint atView) const {
    const QObjectList& children = view_.children();
    // Children are listed bottom first.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* child = qobject_cast<QWidget*>(*it);
        if (child == nullptr || child == this || child->isWindow() || child->isHidden() ||
            child->testAttribute(Qt::WA_TransparentForMouseEvents) ||
            !child->geometry().contains(atView)) {
            continue;
        }
        QWidget* inner = child->childAt(atView - child->pos());
        return inner != nullptr ? inner : child;
    }
    return &view_;
}

void ZoomInputRelay::mousePressEvent(QMouseEvent* event) {
    Relay(event);
}

void ZoomInputRelay::mouseReleaseEvent(QMouseEvent* event) {
    Relay(event);
}

void ZoomInputRelay::mouseDoubleClickEvent(QMouseEvent* event) {
    Relay(event);
}

void ZoomInputRelay::mouseMoveEvent(QMouseEvent* event) {
    Relay(event);
}

void ZoomInputRelay::leaveEvent(QEvent* event) {
    HoverOver(nullptr, {}, {});
    QWidget::leaveEvent(event);
}

void ZoomInputRelay::hideEvent(QHideEvent* event) {
    grabber_ = nullptr;
    HoverOver(nullptr, {}, {});
    QWidget::hideEvent(event);
}

void ZoomInputRelay::Relay(QMouseEvent* event) {
    const QPoint atView = ToView(event->position());
    if (event->type() == QEvent::MouseButtonPress && grabber_ == nullptr) {
        grabber_ = TargetAt(atView);
    }
    QWidget* target = grabber_ != nullptr ? grabber_.data() : TargetAt(atView);
    if (grabber_ == nullptr) {
        HoverOver(target, atView, event->globalPosition());
    }
    QMouseEvent relayed(event->type(), QPointF(target->mapFrom(&view_, atView)),
                        QPointF(view_.mapTo(view_.window(), atView)), event->globalPosition(),
                        event->button(), event->buttons(), event->modifiers(),
                        event->pointingDevice());
    QCoreApplication::sendEvent(target, &relayed);
    event->setAccepted(relayed.isAccepted());
    if (event->type() == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton) {
        grabber_ = nullptr;
        // What the mouse is over now gets the hover the press held back.
        HoverOver(TargetAt(atView), atView, event->globalPosition());
    }
}

void ZoomInputRelay::HoverOver(QWidget* target, QPoint atView, QPointF global) {
    if (target == hovered_) {
        return;
    }
    if (hovered_ != nullptr) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(hovered_, &leave);
    }
    hovered_ = target;
    if (target != nullptr) {
        QEnterEvent enter(QPointF(target->mapFrom(&view_, atView)),
                          QPointF(view_.mapTo(view_.window(), atView)), global);
        QCoreApplication::sendEvent(target, &enter);
    }
}
