#pragma once

#include <filesystem>
#include <vector>

// Installs a package into the object store: checks the whole package first, so that a
// damaged one changes nothing, then writes each file into the folder the package names
// (each under a temporary name, renamed into place when complete) with its permission
// bits. Files already in that folder that the package does not carry are left alone.
class PackageInstaller {
  public:
    explicit PackageInstaller(std::filesystem::path root);

    // Returns the installed files. Throws std::runtime_error (or std::system_error).
    std::vector<std::filesystem::path> Install(const std::filesystem::path& package) const;

  private:
    static void Verify(const std::filesystem::path& package);
    std::vector<std::filesystem::path> Extract(const std::filesystem::path& package) const;

    std::filesystem::path root_;
};
