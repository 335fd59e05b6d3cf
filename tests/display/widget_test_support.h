#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QWidget>

#include "display/display_state.h"
#include "support/fake_icons.h"
#include "support/fake_services.h"

using test_support::FakeIcons;
using test_support::MapStrings;

// A display state with the given span, the rest as it starts.
inline DisplayState StateWithSpan(std::int16_t low, std::int16_t high) {
    DisplayState state;
    state.spanLow = low;
    state.spanHigh = high;
    return state;
}

// Hands `control` its own display state with one change made by `edit`.
template <class Control, class Edit>
void ChangeState(Control& control, Edit edit) {
    DisplayState state = control.State();
    edit(state);
    control.SetState(state);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int Count() const { return count_; }
    void Reset() { count_ = 0; }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count_;
        }
        return false;
    }

  private:
    int count_ = 0;
};

// Lets pending repaints happen.
inline void ProcessPendingEvents() {
    for (int k = 0; k < 5; ++k) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// What a widget's paint handler draws, as an image of the widget's size.
inline QImage Rendered(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    widget.render(&image);
    return image;
}
