#include "snap/input_files.h"

#include <algorithm>
#include <system_error>

#include "document/snapshot_folder.h"

namespace {

std::vector<std::filesystem::path> SnapshotsIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && entry.path().extension() == ".snp") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        const auto na = SnapshotFolder::NumberOf(a.filename().string());
        const auto nb = SnapshotFolder::NumberOf(b.filename().string());
        return na != nb ? na < nb : a.filename() < b.filename();
    });
    return files;
}

}  // namespace

std::vector<std::filesystem::path> input_files::Expand(const std::vector<std::string>& arguments) {
    std::vector<std::filesystem::path> files;
    for (const std::string& argument : arguments) {
        std::error_code error;
        const std::filesystem::path path(argument);
        const auto inside = std::filesystem::is_directory(path, error)
                                ? SnapshotsIn(path)
                                : std::vector<std::filesystem::path>{};
        if (inside.empty()) {
            files.push_back(path);
        } else {
            files.insert(files.end(), inside.begin(), inside.end());
        }
    }
    return files;
}
