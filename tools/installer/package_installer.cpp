#include "installer/package_installer.h"

#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

#include "installer/object_store.h"
#include "installer/output_file.h"
#include "installer/package_reader.h"

PackageInstaller::PackageInstaller(std::filesystem::path root) : root_(std::move(root)) {}

std::vector<std::filesystem::path> PackageInstaller::Install(
    const std::filesystem::path& package) const {
    Verify(package);
    return Extract(package);
}

void PackageInstaller::Verify(const std::filesystem::path& package) {
    PackageReader reader(package);
    std::set<std::string> names;
    while (const auto entry = reader.NextEntry()) {
        if (!names.insert(entry->name).second) {
            throw std::runtime_error("damaged package " + package.string() +
                                     ": file given twice: " + entry->name);
        }
        reader.ReadData([](const char*, std::size_t) {});
    }
}

std::vector<std::filesystem::path> PackageInstaller::Extract(
    const std::filesystem::path& package) const {
    PackageReader reader(package);
    const std::filesystem::path folder = ObjectStore::Map(root_, reader.InstallFolder());
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw std::system_error(error, "cannot create " + folder.string());
    }
    std::vector<std::filesystem::path> installed;
    while (const auto entry = reader.NextEntry()) {
        const std::filesystem::path destination = folder / entry->name;
        OutputFile file(destination);
        reader.ReadData([&file](const char* data, std::size_t size) { file.Write(data, size); });
        file.Commit(entry->mode);
        installed.push_back(destination);
    }
    return installed;
}
