#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "installer/crc32.h"
#include "installer/package_installer.h"
#include "installer/package_reader.h"
#include "installer/package_writer.h"
#include "reinstall_test_paths.h"
#include "support/child_process.h"
#include "support/environment.h"

namespace {

using test_support::ChildProcess;

using test_support::TemporaryDeviceRoot;

constexpr auto kPatience = std::chrono::seconds(30);
constexpr const char* kInstallFolder = "\\Program Files\\Therlix Imager";

std::uint32_t ModeOf(const std::filesystem::path& file) {
    struct stat status {};
    EXPECT_EQ(stat(file.c_str(), &status), 0) << file;
    return static_cast<std::uint32_t>(status.st_mode) & 07777;
}

void WriteFile(const std::filesystem::path& file, const std::string& content,
               std::filesystem::perms mode) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
    std::filesystem::permissions(file, mode);
}

// Package bytes built by hand, for packages the writer refuses to make.
class PackageBytes {
  public:
    explicit PackageBytes(const std::string& folder, std::uint32_t count) {
        bytes_ = "QVLPKG01";
        Text(folder);
        Number(count, 4);
    }
    PackageBytes& Entry(const std::string& name, const std::string& data,
                        std::uint64_t size = UINT64_MAX) {
        Text(name);
        Number(0644, 4);
        Number(size == UINT64_MAX ? data.size() : size, 8);
        bytes_ += data;
        Crc32 crc;
        crc.Update(data.data(), data.size());
        Number(crc.Value(), 4);
        return *this;
    }
    void SaveAs(const std::filesystem::path& file) const {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes_;
    }

  private:
    void Number(std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i) {
            bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    }
    void Text(const std::string& text) {
        Number(text.size(), 2);
        bytes_ += text;
    }
    std::string bytes_;
};

class Package : public ::testing::Test {
  protected:
    std::filesystem::path Source(const std::string& name) const {
        return device_.Root().parent_path() / "sources" / name;
    }
    std::filesystem::path Installed(const std::string& name) const {
        return device_.Host(kInstallFolder) / name;
    }
    std::filesystem::path PackageFile() const { return device_.Root() / "Quorvel_Relumo.cab"; }

    // A program of 200,000 bytes (more than one read buffer), a bundle and an empty file.
    void WriteStandardPackage() const {
        std::string program(200000, '\0');
        for (std::size_t i = 0; i < program.size(); ++i) {
            program[i] = static_cast<char>((i * 7919) % 251);
        }
        WriteFile(Source("quorvel-imager"), program, std::filesystem::perms(0755));
        WriteFile(Source("4286 English.dll"), "bundle", std::filesystem::perms(0644));
        WriteFile(Source("empty"), "", std::filesystem::perms(0600));
        PackageWriter::Write(PackageFile(), "/Program Files/Therlix Imager",
                             {{"quorvel-imager", Source("quorvel-imager")},
                              {"4286 English.dll", Source("4286 English.dll")},
                              {"empty", Source("empty")}});
    }

    std::string ReadPackage() const { return TemporaryDeviceRoot::ReadText(PackageFile()); }
    void SavePackage(const std::string& bytes) const {
        std::ofstream(PackageFile(), std::ios::binary | std::ios::trunc) << bytes;
    }
    void Install() const { PackageInstaller(device_.Root()).Install(PackageFile()); }

    TemporaryDeviceRoot device_;
};

TEST(Crc32, MatchesTheStandardCheckValue) {
    Crc32 crc;
    crc.Update("1234", 4);
    crc.Update("56789", 5);
    EXPECT_EQ(crc.Value(), 0xCBF43926u);
}

TEST_F(Package, InstallsEveryFileWithItsBytesAndMode) {
    WriteStandardPackage();
    EXPECT_EQ(PackageReader(PackageFile()).InstallFolder(), kInstallFolder);

    const auto installed = PackageInstaller(device_.Root()).Install(PackageFile());

    EXPECT_EQ(installed.size(), 3u);
    for (const char* name : {"quorvel-imager", "4286 English.dll", "empty"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(TemporaryDeviceRoot::ReadText(Installed(name)),
                  TemporaryDeviceRoot::ReadText(Source(name)));
        EXPECT_EQ(ModeOf(Installed(name)), ModeOf(Source(name)));
    }
    EXPECT_EQ(ModeOf(Installed("quorvel-imager")), 0755u);
}

TEST_F(Package, ReplacesInstalledFilesAndKeepsOthers) {
    WriteStandardPackage();
    WriteFile(Installed("quorvel-imager"), "old program", std::filesystem::perms(0700));
    WriteFile(Installed("Persist.dat"), "settings", std::filesystem::perms(0644));

    Install();

    EXPECT_EQ(TemporaryDeviceRoot::ReadText(Installed("quorvel-imager")),
              TemporaryDeviceRoot::ReadText(Source("quorvel-imager")));
    EXPECT_EQ(TemporaryDeviceRoot::ReadText(Installed("Persist.dat")), "settings");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(device_.Host(kInstallFolder))) {
        ++files;
    }
    EXPECT_EQ(files, 4u);  // no temporary file is left behind
}

TEST_F(Package, DamagedPackageInstallsNothing) {
    WriteStandardPackage();
    WriteFile(Installed("quorvel-imager"), "old program", std::filesystem::perms(0755));
    // Only the second file's bytes are damaged; its checksum no longer matches.
    std::string bytes = ReadPackage();
    const std::size_t bundle = bytes.find("bundle");
    ASSERT_NE(bundle, std::string::npos);
    bytes[bundle] = 'B';
    SavePackage(bytes);

    EXPECT_THROW(Install(), std::runtime_error);
    EXPECT_EQ(TemporaryDeviceRoot::ReadText(Installed("quorvel-imager")), "old program");
    EXPECT_FALSE(std::filesystem::exists(Installed("4286 English.dll")));
}

TEST_F(Package, EveryTruncationIsRejected) {
    WriteFile(Source("a"), "first", std::filesystem::perms(0755));
    WriteFile(Source("b"), "second", std::filesystem::perms(0644));
    PackageWriter::Write(PackageFile(), kInstallFolder, {{"a", Source("a")}, {"b", Source("b")}});
    const std::string whole = ReadPackage();

    for (std::size_t length = 0; length < whole.size(); ++length) {
        SavePackage(whole.substr(0, length));
        EXPECT_THROW(Install(), std::runtime_error) << "cut at " << length;
    }
    EXPECT_FALSE(std::filesystem::exists(device_.Host(kInstallFolder)));
    SavePackage(whole + '\0');
    EXPECT_THROW(Install(), std::runtime_error);
    SavePackage(whole);
    EXPECT_NO_THROW(Install());
}

TEST_F(Package, NamesAndFoldersThatLeadElsewhereAreRejected) {
    const std::vector<std::string> badNames = {
        "../escaped", "sub/file", "..", ".", "", "a\\b", std::string("nul\0x", 5)};
    for (const std::string& name : badNames) {
        PackageBytes(kInstallFolder, 1).Entry(name, "x").SaveAs(PackageFile());
        EXPECT_THROW(Install(), std::runtime_error) << name;
    }
    const std::vector<std::string> badFolders = {"\\..\\..\\outside", "Program Files", "\\",
                                                 "\\Program Files\\..", ""};
    for (const std::string& folder : badFolders) {
        PackageBytes(folder, 1).Entry("file", "x").SaveAs(PackageFile());
        EXPECT_THROW(Install(), std::runtime_error) << folder;
    }
    EXPECT_FALSE(std::filesystem::exists(device_.Root().parent_path() / "outside"));
    EXPECT_FALSE(std::filesystem::exists(device_.Root().parent_path() / "escaped"));
}

TEST_F(Package, ImpossibleSizesAndRepeatedNamesAreRejected) {
    PackageBytes(kInstallFolder, 1).Entry("huge", "x", UINT64_MAX - 1).SaveAs(PackageFile());
    EXPECT_THROW(Install(), std::runtime_error);
    PackageBytes(kInstallFolder, 2).Entry("twice", "1").Entry("twice", "2").SaveAs(PackageFile());
    EXPECT_THROW(Install(), std::runtime_error);
    PackageBytes(kInstallFolder, 0xFFFFFFFFu).Entry("one", "1").SaveAs(PackageFile());
    EXPECT_THROW(Install(), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(device_.Host(kInstallFolder)));
}

TEST_F(Package, WriterRefusesBadInputsAndLeavesNoFile) {
    WriteFile(Source("a"), "a", std::filesystem::perms(0644));
    EXPECT_THROW(PackageWriter::Write(PackageFile(), kInstallFolder,
                                      {{"a", Source("a")}, {"a", Source("a")}}),
                 std::runtime_error);
    EXPECT_THROW(PackageWriter::Write(PackageFile(), kInstallFolder, {{"../a", Source("a")}}),
                 std::runtime_error);
    EXPECT_THROW(PackageWriter::Write(PackageFile(), kInstallFolder, {{"b", Source("missing")}}),
                 std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_empty(device_.Root()));
}

// The installer program: one argument, relative to its working folder; failures in its exit
// status.
TEST_F(Package, InstallerProgramInstallsTheNamedPackageFromItsWorkingFolder) {
    WriteStandardPackage();
    ChildProcess installer({kInstallerProgram, "Quorvel_Relumo.cab"},
                           {.workingFolder = device_.Root()});
    const auto status = installer.WaitForExit(kPatience);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(ChildProcess::ExitedWith(*status, 0));
    EXPECT_EQ(TemporaryDeviceRoot::ReadText(Installed("quorvel-imager")),
              TemporaryDeviceRoot::ReadText(Source("quorvel-imager")));
    EXPECT_EQ(ModeOf(Installed("quorvel-imager")), 0755u);
}

TEST_F(Package, InstallerProgramReportsFailuresInItsExitStatus) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
    };
    SavePackage("not a package");
    const std::vector<Case> cases = {{{kInstallerProgram}, 2},
                                     {{kInstallerProgram, "a", "b"}, 2},
                                     {{kInstallerProgram, "missing.cab"}, 1},
                                     {{kInstallerProgram, "Quorvel_Relumo.cab"}, 1}};
    for (const Case& c : cases) {
        ChildProcess installer(c.arguments, {.workingFolder = device_.Root()});
        const auto status = installer.WaitForExit(kPatience);
        ASSERT_TRUE(status.has_value());
        EXPECT_TRUE(ChildProcess::ExitedWith(*status, c.exitCode)) << c.arguments.size();
    }
    EXPECT_FALSE(std::filesystem::exists(device_.Host(kInstallFolder)));
}

}  // namespace
