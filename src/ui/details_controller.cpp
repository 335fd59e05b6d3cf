#include "ui/details_controller.h"

#include <QKeySequence>

#include "ui/details_memory.h"
#include "ui/details_panel.h"
#include "ui/imager_view.h"
#include "ui/language_text.h"

DetailsController::DetailsController(QMainWindow& window, QMenu& menu) : window_(window) {
    panelAction_.setCheckable(true);
    panelAction_.setShortcut(QKeySequence(Qt::Key_F2));
    panelAction_.setShortcutContext(Qt::WindowShortcut);
    markAction_.setCheckable(true);
    window_.addAction(&panelAction_);
    menu.addSeparator();
    menu.addAction(&panelAction_);
    menu.addAction(&markAction_);
    connect(&panelAction_, &QAction::triggered, this, &DetailsController::SetPanelOpen);
    connect(&markAction_, &QAction::triggered, this, &DetailsController::SetExtremesMarked);
}

DetailsController::~DetailsController() {
    delete dock_.data();
}

void DetailsController::SetView(ImagerView& view) {
    view_ = &view;
    const StringResources& strings = view.GetServices().strings;
    panelAction_.setText(LanguageText(strings, kPanelText));
    markAction_.setText(LanguageText(strings, kMarkText));

    dock_ = new QDockWidget(&window_);
    dock_->setObjectName(QStringLiteral("DetailsDock"));
    dock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    // No title bar: the panel is part of the window, not a tool window of its own.
    dock_->setTitleBarWidget(new QWidget(dock_));
    panel_ = new DetailsPanel(view, dock_);
    dock_->setWidget(panel_);
    window_.addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->setVisible(PanelOpen());
    view.ThermalImage().SetExtremesMarked(ExtremesMarked());
    connect(&panel_->Chart(), &TrendChart::WindowChosen, this, &DetailsController::Remember);
}

void DetailsController::SetSources(const ImagerLink* link, TakenFrameQueue* takenFrames) {
    if (panel_ != nullptr) {
        panel_->SetSources(link, takenFrames);
    }
}

void DetailsController::SetPanelOpen(bool open) {
    panelAction_.setChecked(open);
    if (dock_ != nullptr) {
        dock_->setVisible(open);
    }
    Remember();
}

void DetailsController::SetExtremesMarked(bool marked) {
    markAction_.setChecked(marked);
    if (view_ != nullptr) {
        view_->ThermalImage().SetExtremesMarked(marked);
    }
    Remember();
}

void DetailsController::RestoreRemembered() {
    const DetailsMemory::Remembered remembered = DetailsMemory::Load();
    if (panel_ != nullptr && remembered.trendMinutes) {
        panel_->Chart().SetWindowMinutes(*remembered.trendMinutes);
    }
    SetExtremesMarked(remembered.extremesMarked.value_or(false));
    SetPanelOpen(remembered.panelOpen.value_or(false));
    remembering_ = true;
}

void DetailsController::Remember() {
    if (remembering_) {
        DetailsMemory::Save(
            PanelOpen(), ExtremesMarked(),
            panel_ != nullptr ? panel_->Chart().WindowMinutes() : TrendChart::kFirstWindow);
    }
}
