#include "ui/zoom_controller.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <algorithm>

#include "ui/imager_view.h"
#include "ui/language_text.h"
#include "ui/pixel_zoom_effect.h"
#include "ui/zoom_input_relay.h"

namespace {

const QSize kUnscaledScreen(ImagerView::kWidth, ImagerView::kHeight);

}  // namespace

ZoomController::ZoomController(QWidget& window) : window_(window) {
    CreateActions();
    window_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&window_, &QWidget::customContextMenuRequested, this, &ZoomController::ShowMenu);
    window_.installEventFilter(this);
}

void ZoomController::CreateActions() {
    // Plus needs Shift on many keyboards, so Ctrl+= zooms in as well.
    zoomIn_.setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomOut_.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    actualSize_.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(&zoomIn_, &QAction::triggered, this, &ZoomController::ZoomIn);
    connect(&zoomOut_, &QAction::triggered, this, &ZoomController::ZoomOut);
    connect(&actualSize_, &QAction::triggered, this,
            [this] { SetFactor(ZoomMemory::kSmallestFactor); });
    for (QAction* action : {&zoomIn_, &zoomOut_, &actualSize_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window_.addAction(action);
        menu_.addAction(action);
    }
    menu_.addSeparator();
    for (int factor = ZoomMemory::kSmallestFactor; factor <= ZoomMemory::kLargestFactor; ++factor) {
        QAction& action = factorActions_[factor - 1];
        action.setCheckable(true);
        factorGroup_.addAction(&action);
        menu_.addAction(&action);
        connect(&action, &QAction::triggered, this, [this, factor] { SetFactor(factor); });
    }
    NameActions();
}

void ZoomController::NameActions() {
    const auto text = [this](int id) {
        return view_ != nullptr ? LanguageText(view_->GetServices().strings, id) : QString();
    };
    zoomIn_.setText(text(kZoomInText));
    zoomOut_.setText(text(kZoomOutText));
    actualSize_.setText(text(kActualSizeText));
    for (int factor = ZoomMemory::kSmallestFactor; factor <= ZoomMemory::kLargestFactor; ++factor) {
        QString name = text(kFactorText);
        factorActions_[factor - 1].setText(
            name.replace(QStringLiteral("%d"), QString::number(factor)));
    }
}

void ZoomController::SetView(ImagerView& view) {
    view_ = &view;
    NameActions();
    Apply();
}

void ZoomController::SetFactor(int factor) {
    factor_ = std::clamp(factor, ZoomMemory::kSmallestFactor, ZoomMemory::kLargestFactor);
    Apply();
}

void ZoomController::Apply() {
    zoomIn_.setEnabled(factor_ < ZoomMemory::kLargestFactor);
    zoomOut_.setEnabled(factor_ > ZoomMemory::kSmallestFactor);
    factorActions_[factor_ - 1].setChecked(true);
    if (view_ == nullptr) {
        return;
    }
    view_->setFixedSize(kUnscaledScreen * factor_);
    if (relay_ == nullptr && factor_ > 1) {
        relay_ = new ZoomInputRelay(*view_);
    }
    if (relay_ != nullptr) {
        relay_->SetFactor(factor_);
    }
    // At 1 the view paints itself as it always has: no effect, no relay.
    view_->setGraphicsEffect(factor_ > 1 ? new PixelZoomEffect(factor_, kUnscaledScreen, *relay_)
                                         : nullptr);
}

void ZoomController::RestoreRemembered() {
    const ZoomMemory::Remembered remembered = ZoomMemory::Load();
    QScreen* screen = remembered.place ? QGuiApplication::screenAt(*remembered.place) : nullptr;
    if (screen != nullptr) {
        window_.move(*remembered.place);
    } else {
        screen = window_.screen();
    }
    SetFactor(remembered.factor.value_or(
        ZoomMemory::FirstStartFactor(screen->availableGeometry().height(), ImagerView::kHeight)));
    remembering_ = true;
}

bool ZoomController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Hide && remembering_) {
        ZoomMemory::Save(factor_, window_.pos());
    }
    return QObject::eventFilter(watched, event);
}

void ZoomController::ShowMenu(QPoint inWindow) {
    menu_.popup(window_.mapToGlobal(inWindow));
}
