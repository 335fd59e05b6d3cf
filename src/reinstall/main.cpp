// quorvel-relumo: puts Quorvel Imager back onto the handheld from its stored installation
// package. It has no window; it does its one pass at start-up and ends.
#include <QApplication>

#include "reinstall/error_message_box.h"
#include "reinstall/handheld_root.h"
#include "reinstall/installer_launcher.h"
#include "reinstall/reinstaller.h"
#include "reinstall/wait_cursor.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const Reinstaller reinstaller(
        HandheldRoot::FromEnvironment(), &error_message_box::Show,
        [](const std::filesystem::path& program, const std::string& argument,
           const std::filesystem::path& workingFolder) {
            return installer_launcher::Start(program, argument, workingFolder).has_value();
        });
    const WaitCursor waitCursor;
    const Reinstaller::Outcome outcome = reinstaller.Run();
    return outcome == Reinstaller::Outcome::kInstallerStarted ? 0 : 1;
}
