// quorvel-imager: the live thermal viewer and snapshot manager.

#include <QApplication>
#include <QStringList>

#include "display/qt/default_font.h"
#include "ui/imager_application.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setFont(DefaultControlFont());

    ImagerApplication imager(QCoreApplication::applicationDirPath().toStdString());
    // Qt has taken its own options (-platform and the like) out of the arguments.
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (!imager.Start(arguments)) {
        return 1;
    }
    return imager.Run();
}
