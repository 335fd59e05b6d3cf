#pragma once

#include <QMainWindow>
#include <QString>

#include "ui/details_controller.h"
#include "ui/zoom_controller.h"

class ImagerDocument;
class ImagerView;

// The program's top-level window. It hosts the one view as its central widget and
// carries nothing of its own but the window title, the exit key (Ctrl+Q), the zoom
// (keys and context menu) and the details panel beside the view (F2 and context menu);
// the screen, the buttons and the commands all belong to the view.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr const char* kTitle = "Quorvel Imager";

    explicit MainWindow(QWidget* parent = nullptr);

    // Makes `view` the central widget (the frame takes ownership) and fixes the
    // window to the view's size.
    void SetView(ImagerView* view);
    ImagerView* View() const { return view_; }
    // The document of the view; null before a view is set.
    ImagerDocument* Document() const;
    ZoomController& Zoom() { return zoom_; }
    DetailsController& Details() { return details_; }

  protected:
    // Every way of ending closes this window; a changed snapshot shown is offered for
    // saving first, and the answer Cancel keeps the window open.
    void closeEvent(QCloseEvent* event) override;

  signals:
    // The exit command (Ctrl+Q); the application answers it by closing this window.
    void ExitCommand();

  private:
    ImagerView* view_ = nullptr;
    ZoomController zoom_{*this};
    DetailsController details_{*this, zoom_.Menu()};
};
