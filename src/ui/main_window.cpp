#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLayout>

#include "ui/imager_view.h"

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromUtf8(kTitle));
    auto* exitAction = new QAction(this);
    exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    exitAction->setShortcutContext(Qt::WindowShortcut);
    addAction(exitAction);
    connect(exitAction, &QAction::triggered, this, &MainWindow::ExitCommand);
}

void MainWindow::SetView(ImagerView* view) {
    view_ = view;
    setCentralWidget(view);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    zoom_.SetView(*view);
    details_.SetView(*view);
}

ImagerDocument* MainWindow::Document() const {
    return view_ != nullptr ? &view_->GetDocument() : nullptr;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (view_ != nullptr && !view_->Commands().MayEnd()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
