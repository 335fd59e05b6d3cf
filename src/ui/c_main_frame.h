#pragma once

#include <QMainWindow>
#include <QString>

class COnlineImagerDoc;
class COnlineImagerView;

// The program's top-level window. It hosts the one view as its central widget and
// carries nothing of its own but the window title and the exit key (Ctrl+Q); the
// screen, the buttons and the commands all belong to the view.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    // The document template string: window title, then the document's names.
    static constexpr const char* kDocumentTemplate =
        "Quorvel Imager\n\nCEQuorvelImager\n\n\nCEQuorvelImager.Document\nCEQuorvelImager "
        "Document";

    // The window title is the first line of a document template string.
    static QString TitleFromTemplate(const QString& documentTemplate);

    explicit CMainFrame(QWidget* parent = nullptr);

    // Makes `view` the central widget (the frame takes ownership) and fixes the
    // window to the view's size.
    void SetView(COnlineImagerView* view);
    COnlineImagerView* GetActiveView() const { return view_; }
    // The document of the active view; null before a view is set.
    COnlineImagerDoc* GetActiveDocument() const;

  signals:
    // The framework's exit command (Ctrl+Q); the application answers it by closing
    // this window.
    void ExitCommand();

  private:
    COnlineImagerView* view_ = nullptr;
};
