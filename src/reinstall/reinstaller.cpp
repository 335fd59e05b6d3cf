#include "reinstall/reinstaller.h"

#include <unistd.h>

#include <array>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

// Where a copy of the installation package may be kept, in the order they are tried.
constexpr std::array<std::string_view, 6> kStoredPackages = {
    "\\iPAQ File Store\\Quorvel Relumo.dll", "\\Built-in Storage\\Quorvel Relumo.dll",
    "\\Storage Card\\Quorvel Relumo.dll",    "\\Storage Card2\\Quorvel Relumo.dll",
    "\\SD Card\\Quorvel Relumo.dll",         "\\CF Card\\Quorvel Relumo.dll",
};
// The restored package, in the root folder of the object store; the installer is given
// the bare name and runs in that folder.
constexpr std::string_view kRestoredPackage = "Quorvel_Relumo.cab";
constexpr std::string_view kInstaller = "\\Windows\\wceload.exe";
constexpr std::string_view kNoPackageMessage = "Error re-instating the .cab file";
constexpr std::string_view kInstallerMessage = "Error installing the application";

}  // namespace

Reinstaller::Reinstaller(HandheldRoot root, MessageBox showMessage, ProcessStarter startProcess)
    : root_(std::move(root)),
      showMessage_(std::move(showMessage)),
      startProcess_(std::move(startProcess)) {}

Reinstaller::Outcome Reinstaller::Run() const {
    if (!RestorePackage()) {
        showMessage_(std::string(kNoPackageMessage));
        return Outcome::kNoStoredPackage;
    }
    if (!startProcess_(root_.Map(kInstaller), std::string(kRestoredPackage), root_.Folder())) {
        showMessage_(std::string(kInstallerMessage));
        return Outcome::kInstallerNotStarted;
    }
    return Outcome::kInstallerStarted;
}

bool Reinstaller::RestorePackage() const {
    const std::filesystem::path destination = root_.Folder() / kRestoredPackage;
    for (std::string_view stored : kStoredPackages) {
        if (CopyOver(root_.Map(stored), destination)) {
            return true;
        }
    }
    return false;
}

// Copies under a temporary name first, so a copy that fails half-way neither leaves a
// truncated package nor spoils one that is already there.
bool Reinstaller::CopyOver(const std::filesystem::path& source,
                           const std::filesystem::path& destination) {
    std::filesystem::path partial = destination;
    partial += ".partial-" + std::to_string(getpid());
    std::error_code error;
    std::filesystem::copy_file(source, partial, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (!error) {
        std::filesystem::rename(partial, destination, error);
    }
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return false;
    }
    return true;
}
