// quorvel-snap: exports snapshot and settings files of quorvel-imager as text, CSV
// and PNG.

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "document/language_choice.h"
#include "platform/qt/language_bundle.h"
#include "platform/user_language.h"
#include "snap/snap_options.h"
#include "snap/snap_run.h"

namespace {

// The language bundle the imager would use, for the legend's texts; null without one.
std::unique_ptr<LanguageBundle> LoadBundle() {
    const std::string name = language_choice::BundleFileName(user_language::Identifier());
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString();
    auto bundle = std::make_unique<LanguageBundle>(LanguageBundle::Locate(name, folder));
    return bundle->IsLoaded() ? std::move(bundle) : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        snap_options::Parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "quorvel-snap: " << error << "\nTry 'quorvel-snap --help'.\n";
        return snap_run::kUsageError;
    }
    if (options->help) {
        std::cout << snap_options::HelpText(options->command);
        return snap_run::kAllDone;
    }
    // Everything is drawn off screen; no window is shown, so no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const auto bundle = LoadBundle();
    return snap_run::Run(*options, bundle.get(), std::cout, std::cerr);
}
