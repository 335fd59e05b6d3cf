// quorvel-imager: the live thermal viewer and snapshot manager.

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "display/qt/default_font.h"
#include "ui/imager_application.h"
#include "ui/imager_command_line.h"

namespace {

// Help, version and mistakes end the program before Qt needs a display; -1 to go on.
int EarlyExitCode(const ImagerOptions& options) {
    switch (options.action) {
        case ImagerOptions::Action::kHelp:
            std::fputs(imager_command_line::HelpText().c_str(), stdout);
            return 0;
        case ImagerOptions::Action::kVersion:
            std::printf("quorvel-imager %s\n", QUORVEL_VERSION);
            return 0;
        case ImagerOptions::Action::kUsageError:
            std::fprintf(stderr, "quorvel-imager: %s\nTry 'quorvel-imager --help'.\n",
                         options.error.c_str());
            return imager_command_line::kUsageExitCode;
        case ImagerOptions::Action::kRun:
            break;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const ImagerOptions options =
        imager_command_line::Parse(std::vector<std::string>(argv + 1, argv + argc));
    if (const int code = EarlyExitCode(options); code >= 0) {
        return code;
    }
    QApplication application(argc, argv);
    QApplication::setFont(DefaultControlFont());

    ImagerApplication imager(QCoreApplication::applicationDirPath().toStdString());
    if (options.port) {
        imager.SetPortDevice(*options.port);
    }
    if (options.log) {
        imager.SetLog(*options.log, options.logEvery);
    }
    // The file names go on behind "--", so that one that starts with a dash stays a name.
    QStringList files;
    for (const std::string& file : options.files) {
        files << QFile::decodeName(QByteArray::fromStdString(file));
    }
    if (!imager.Start(files.isEmpty() ? files : QStringList{QStringLiteral("--")} + files)) {
        return 1;
    }
    return imager.Run();
}
