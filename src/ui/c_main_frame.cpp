#include "ui/c_main_frame.h"

#include <QAction>
#include <QKeySequence>
#include <QLayout>

#include "ui/c_online_imager_view.h"

QString CMainFrame::TitleFromTemplate(const QString& documentTemplate) {
    return documentTemplate.section(QLatin1Char('\n'), 0, 0);
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(TitleFromTemplate(QString::fromUtf8(kDocumentTemplate)));
    auto* exitAction = new QAction(this);
    exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    exitAction->setShortcutContext(Qt::WindowShortcut);
    addAction(exitAction);
    connect(exitAction, &QAction::triggered, this, &CMainFrame::ExitCommand);
}

void CMainFrame::SetView(COnlineImagerView* view) {
    view_ = view;
    setCentralWidget(view);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

COnlineImagerDoc* CMainFrame::GetActiveDocument() const {
    return view_ != nullptr ? &view_->GetDocument() : nullptr;
}
