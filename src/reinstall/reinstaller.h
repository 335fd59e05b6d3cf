#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "reinstall/handheld_root.h"

// Puts Quorvel Imager back onto the handheld: copies the first stored installation package
// it finds into the root of the object store under its ".cab" name and starts the package
// installer on it, without waiting. Each failure is told once through the message box.
class Reinstaller {
  public:
    using MessageBox = std::function<void(const std::string& text)>;
    // Starts `program` with one argument in `workingFolder`; false when it cannot.
    using ProcessStarter =
        std::function<bool(const std::filesystem::path& program, const std::string& argument,
                           const std::filesystem::path& workingFolder)>;

    enum class Outcome { kInstallerStarted, kNoStoredPackage, kInstallerNotStarted };

    Reinstaller(HandheldRoot root, MessageBox showMessage, ProcessStarter startProcess);

    // The one pass of the program.
    Outcome Run() const;

  private:
    bool RestorePackage() const;
    static bool CopyOver(const std::filesystem::path& source,
                         const std::filesystem::path& destination);

    HandheldRoot root_;
    MessageBox showMessage_;
    ProcessStarter startProcess_;
};
