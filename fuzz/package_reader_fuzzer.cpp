// Arbitrary package bytes through the stand-in installer, compared with the format's
// rules: a package is installed exactly when it is well-formed, only inside the device
// root, with the bytes and modes it carries; a damaged one leaves the root empty.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "installer/package_installer.h"
#include "package_model.h"

namespace {

namespace fs = std::filesystem;

fs::path& Base() {
    static fs::path base;
    return base;
}

// With the low bit of the first byte set, the rest describes a well-formed package that
// may then get one byte changed: it reaches what a mutated raw package rarely does.
std::vector<std::uint8_t> PackageFrom(const std::uint8_t* data, std::size_t size) {
    if (size < 4 || (data[0] & 1) == 0) {
        return std::vector<std::uint8_t>(data, data + size);
    }
    package_model::Package package{"\\Program Files\\Therlix Imager", {}};
    const std::size_t files = data[1] % 3 + 1;
    const std::size_t piece = (size - 4) / files;
    for (std::size_t i = 0; i < files; ++i) {
        const std::uint8_t* start = data + 4 + i * piece;
        package.files.push_back(
            {"file" + std::to_string(i), data[2] & 0777u, {start, start + piece}});
    }
    auto bytes = package_model::Build(package);
    if ((data[0] & 2) != 0) {
        bytes[(data[3] * 131u + data[0]) % bytes.size()] ^= static_cast<std::uint8_t>(data[3] | 1);
    }
    return bytes;
}

std::vector<std::uint8_t> Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Every file the installer left: only regular files, only inside the root.
std::set<fs::path> FilesLeft(const fs::path& root, const fs::path& package) {
    std::set<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(Base())) {
        FUZZ_CHECK(!entry.is_symlink());
        if (entry.is_directory() || entry.path() == package) {
            continue;
        }
        FUZZ_CHECK(entry.is_regular_file());
        FUZZ_CHECK(entry.path().string().starts_with(root.string() + "/"));
        files.insert(entry.path());
    }
    return files;
}

fs::path Destination(const fs::path& root, const package_model::Package& package,
                     const std::string& name) {
    fs::path folder = root;
    std::size_t start = 0;
    while (start <= package.folder.size()) {
        const std::size_t end = std::min(package.folder.find('\\', start), package.folder.size());
        if (end > start) {
            folder /= package.folder.substr(start, end - start);
        }
        start = end + 1;
    }
    return folder / name;
}

void CheckInstalled(const fs::path& root, const package_model::Package& package,
                    const std::vector<fs::path>& installed, const std::set<fs::path>& left) {
    FUZZ_CHECK(installed.size() == package.files.size() && left.size() == installed.size());
    for (std::size_t i = 0; i < installed.size(); ++i) {
        const auto& file = package.files[i];
        FUZZ_CHECK(installed[i] == Destination(root, package, file.name));
        FUZZ_CHECK(left.contains(installed[i]));
        FUZZ_CHECK(Contents(installed[i]) == file.bytes);
        struct stat status {};
        FUZZ_CHECK(::stat(installed[i].c_str(), &status) == 0 &&
                   (status.st_mode & 07777) == file.mode);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static char pattern[] = "/tmp/quorvel-package-fuzz-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::abort();
    }
    Base() = pattern;
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(Base(), ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes = PackageFrom(data, size);
    const fs::path root = Base() / "root";
    const fs::path file = Base() / "package.dll";
    fs::remove_all(root);
    fs::create_directories(root);
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    const auto expected = package_model::Parse(bytes);
    std::vector<fs::path> installed;
    bool accepted = true;
    try {
        installed = PackageInstaller(root).Install(file);  // the installer under test
    } catch (const std::exception&) {
        accepted = false;
    }
    FUZZ_CHECK(accepted == expected.has_value());
    const std::set<fs::path> left = FilesLeft(root, file);
    if (!accepted) {
        FUZZ_CHECK(fs::is_empty(root));
        return 0;
    }
    CheckInstalled(root, *expected, installed, left);
    return 0;
}
