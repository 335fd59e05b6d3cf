#include "platform/qt/language_bundle.h"

#include <gtest/gtest.h>

#include "support/test_application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <cstdlib>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void EnsureApplication() {
    TestApplication();
}

void WriteFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

int OpaquePixels(const QIcon& icon) {
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return count;
}

int MountedResourceRoots() {
    return static_cast<int>(QDir(QStringLiteral(":/")).count());
}

class LanguageBundleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureApplication();
        folder_ = fs::temp_directory_path() /
                  ("language-bundle-test-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Builds a bundle from the given files (relative name -> content) with rcc.
    fs::path BuildBundle(const std::vector<std::pair<std::string, std::string>>& files) {
        std::string qrc = "<RCC><qresource prefix=\"/\">";
        for (const auto& [name, content] : files) {
            WriteFile(folder_ / "input" / name, content);
            qrc +=
                "<file alias=\"" + name + "\">" + (folder_ / "input" / name).string() + "</file>";
        }
        qrc += "</qresource></RCC>";
        WriteFile(folder_ / "bundle.qrc", qrc);
        const fs::path output = folder_ / "4286 Test.dll";
        const int result = QProcess::execute(
            QStringLiteral(QUORVEL_RCC),
            {"--binary", "--no-zstd", "-o", QString::fromStdString(output.string()),
             QString::fromStdString((folder_ / "bundle.qrc").string())});
        EXPECT_EQ(result, 0);
        return output;
    }

    fs::path folder_;
};

TEST_F(LanguageBundleTest, EnglishBundleHoldsEveryStringOfTheProgram) {
    LanguageBundle bundle(QUORVEL_ENGLISH_BUNDLE);
    ASSERT_TRUE(bundle.IsLoaded());
    EXPECT_EQ(bundle.String(130), "Hold");
    EXPECT_EQ(bundle.String(134), "Exit");
    EXPECT_EQ(bundle.String(151), "°C");
    EXPECT_EQ(bundle.String(153), "K");
    EXPECT_EQ(bundle.String(154), "Snapshot %d of %d");
    for (int id : {129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142,
                   143, 144, 145, 146, 147, 149, 150, 151, 152, 153, 154, 155, 156, 165}) {
        EXPECT_FALSE(bundle.String(id).empty()) << "string " << id;
    }
    EXPECT_EQ(bundle.String(148), "");
    EXPECT_EQ(bundle.String(-1), "");
}

TEST_F(LanguageBundleTest, EnglishBundleHoldsEveryIconOfTheProgram) {
    LanguageBundle bundle(QUORVEL_ENGLISH_BUNDLE);
    ASSERT_TRUE(bundle.IsLoaded());
    for (int id :
         {135, 136, 137, 138, 139, 140, 141, 142, 143, 145, 146, 147, 148, 149, 150, 151, 152}) {
        const QIcon icon = bundle.Icon(id);
        ASSERT_FALSE(icon.isNull()) << "icon " << id;
        EXPECT_GT(OpaquePixels(icon), 16) << "icon " << id;
    }
    EXPECT_TRUE(bundle.Icon(144).isNull());
    EXPECT_TRUE(bundle.Icon(130).isNull());
}

TEST_F(LanguageBundleTest, ReadsPngIconsDialogTemplatesAndSkipsMalformedStrings) {
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    const QString pngPath = QString::fromStdString((folder_ / "red.png").string());
    ASSERT_TRUE(red.save(pngPath));
    QFile png(pngPath);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray pngBytes = png.readAll();

    const fs::path file = BuildBundle({
        {"strings.json", R"({"7": "seven", "x": "not an id", "8": 8, "9": "Grüße"})"},
        {"icons/7.png", pngBytes.toStdString()},
        {"dialogs/131.ui", "<ui version=\"4.0\"/>"},
    });
    LanguageBundle bundle(file);
    ASSERT_TRUE(bundle.IsLoaded());
    EXPECT_EQ(bundle.File(), file);
    EXPECT_EQ(bundle.String(7), "seven");
    EXPECT_EQ(bundle.String(8), "");
    EXPECT_EQ(bundle.String(9), "Grüße");
    const QImage icon = bundle.Icon(7).pixmap(16, 16).toImage();
    EXPECT_EQ(icon.pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(bundle.DialogTemplate(131), QByteArray("<ui version=\"4.0\"/>"));
    EXPECT_TRUE(bundle.DialogTemplate(153).isEmpty());
    const std::unique_ptr<QIODevice> device = bundle.OpenDialogTemplate(131);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->readAll().size(), 19);
    EXPECT_EQ(bundle.OpenDialogTemplate(153), nullptr);
}

TEST_F(LanguageBundleTest, MissingOrDamagedFilesDoNotLoad) {
    LanguageBundle missing(folder_ / "4286 Nowhere.dll");
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.String(130), "");
    EXPECT_TRUE(missing.Icon(135).isNull());
    EXPECT_TRUE(missing.DialogTemplate(131).isEmpty());

    WriteFile(folder_ / "4286 Damaged.dll", std::string(300, 'x'));
    LanguageBundle damaged(folder_ / "4286 Damaged.dll");
    EXPECT_FALSE(damaged.IsLoaded());
}

TEST_F(LanguageBundleTest, BundlesMountSideBySideAndUnmountWhenDestroyed) {
    const int before = MountedResourceRoots();
    {
        LanguageBundle first(QUORVEL_ENGLISH_BUNDLE);
        auto second = std::make_unique<LanguageBundle>(QUORVEL_ENGLISH_BUNDLE);
        ASSERT_TRUE(first.IsLoaded());
        ASSERT_TRUE(second->IsLoaded());
        EXPECT_EQ(MountedResourceRoots(), before + 2);
        second.reset();
        EXPECT_EQ(MountedResourceRoots(), before + 1);
        EXPECT_EQ(first.String(130), "Hold");
        EXPECT_FALSE(first.Icon(135).isNull());
    }
    EXPECT_EQ(MountedResourceRoots(), before);
}

TEST_F(LanguageBundleTest, LocateSearchesBesideTheExecutableThenShareThenTheDeviceRoot) {
    const char* oldDataHome = std::getenv("XDG_DATA_HOME");
    const std::string savedDataHome = oldDataHome != nullptr ? oldDataHome : "";
    setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
    const fs::path bin = folder_ / "prefix" / "bin";
    const fs::path share = folder_ / "prefix" / "share" / "quorvel-imager";
    const fs::path windows = folder_ / "data" / "therlix-handheld" / "Windows";
    const std::string name = "4286 English.dll";

    EXPECT_EQ(LanguageBundle::Locate(name, bin), fs::path());
    WriteFile(windows / name, "w");
    EXPECT_EQ(LanguageBundle::Locate(name, bin), windows / name);
    WriteFile(share / name, "s");
    EXPECT_EQ(LanguageBundle::Locate(name, bin), share / name);
    WriteFile(bin / name, "b");
    EXPECT_EQ(LanguageBundle::Locate(name, bin), bin / name);
    // A name with a folder is taken as it stands.
    EXPECT_EQ(LanguageBundle::Locate((windows / name).string(), bin), windows / name);
    EXPECT_EQ(LanguageBundle::Locate((folder_ / "none.dll").string(), bin), fs::path());
    // A folder of that name is not a bundle.
    fs::create_directories(bin / "4286 German.dll");
    EXPECT_EQ(LanguageBundle::Locate("4286 German.dll", bin), fs::path());

    if (oldDataHome != nullptr) {
        setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

}  // namespace
