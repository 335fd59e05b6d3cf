#pragma once

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QObject>
#include <QPointer>

class DetailsPanel;
class ImagerLink;
class ImagerView;
class TakenFrameQueue;

// The details panel in the main window, docked at the right of the screen: F2 and an
// item of the window's context menu open and close it; a second item marks the hottest
// and coldest cell on the picture. Both start off. Once RestoreRemembered has run, both
// and the trend's window are kept in the desktop configuration with the zoom.
class DetailsController : public QObject {
  public:
    // Language strings of the two menu items.
    static constexpr int kPanelText = 180;
    static constexpr int kMarkText = 181;

    // Adds F2 to `window` and the two items to `menu`.
    DetailsController(QMainWindow& window, QMenu& menu);
    // The panel goes before the window's other children, so never outlives the view.
    ~DetailsController() override;
    DetailsController(const DetailsController&) = delete;
    DetailsController& operator=(const DetailsController&) = delete;

    // Creates the (closed) panel of `view` and names the items in its language.
    void SetView(ImagerView& view);
    // Where the panel's link counts and taken frames come from.
    void SetSources(const ImagerLink* link, TakenFrameQueue* takenFrames);

    bool PanelOpen() const { return panelAction_.isChecked(); }
    void SetPanelOpen(bool open);
    bool ExtremesMarked() const { return markAction_.isChecked(); }
    void SetExtremesMarked(bool marked);
    // Null before SetView.
    DetailsPanel* Panel() const { return panel_; }
    QAction& PanelAction() { return panelAction_; }
    QAction& MarkAction() { return markAction_; }

    void RestoreRemembered();

  private:
    void Remember();

    QMainWindow& window_;
    QAction panelAction_;
    QAction markAction_;
    ImagerView* view_ = nullptr;
    QPointer<QDockWidget> dock_;     // a child of the window
    DetailsPanel* panel_ = nullptr;  // in the dock
    bool remembering_ = false;
};
