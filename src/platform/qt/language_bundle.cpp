#include "platform/qt/language_bundle.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QResource>
#include <atomic>

#include "platform/device_root.h"

namespace {

// Each bundle gets a mount point of its own, so two bundles never shadow each other.
QString NextMapRoot() {
    static std::atomic<int> counter{0};
    return QStringLiteral("/language-bundle-%1").arg(++counter);
}

QString ToQString(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

LanguageBundle::LanguageBundle(const std::filesystem::path& file)
    : file_(file), mapRoot_(NextMapRoot()) {
    loaded_ = !file_.empty() && QResource::registerResource(ToQString(file_), mapRoot_);
    if (loaded_) {
        ReadStrings();
    }
}

LanguageBundle::~LanguageBundle() {
    if (loaded_) {
        QResource::unregisterResource(ToQString(file_), mapRoot_);
    }
}

std::filesystem::path LanguageBundle::Locate(const std::string& name,
                                             const std::filesystem::path& executableFolder) {
    const std::filesystem::path given(name);
    if (given.has_parent_path()) {
        return IsRegularFile(given) ? given : std::filesystem::path();
    }
    const std::filesystem::path candidates[] = {
        executableFolder / given,
        executableFolder / ".." / "share" / "quorvel-imager" / given,
        device_root::Folder() / "Windows" / given,
    };
    for (const std::filesystem::path& candidate : candidates) {
        const std::filesystem::path normal = candidate.lexically_normal();
        if (IsRegularFile(normal)) {
            return normal;
        }
    }
    return {};
}

std::string LanguageBundle::String(int id) const {
    const auto found = strings_.find(id);
    return found != strings_.end() ? found->second : std::string();
}

QIcon LanguageBundle::Icon(int id) const {
    if (!loaded_) {
        return {};
    }
    for (const char* extension : {"svg", "png"}) {
        const QString path = ResourcePath(QStringLiteral("icons/%1.%2").arg(id).arg(extension));
        if (QFile::exists(path)) {
            return QIcon(path);
        }
    }
    return {};
}

QByteArray LanguageBundle::DialogTemplate(int id) const {
    const std::unique_ptr<QIODevice> device = OpenDialogTemplate(id);
    return device ? device->readAll() : QByteArray();
}

std::unique_ptr<QIODevice> LanguageBundle::OpenDialogTemplate(int id) const {
    if (!loaded_) {
        return nullptr;
    }
    auto file = std::make_unique<QFile>(ResourcePath(QStringLiteral("dialogs/%1.ui").arg(id)));
    if (!file->open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    return file;
}

QString LanguageBundle::ResourcePath(const QString& relative) const {
    return QStringLiteral(":") + mapRoot_ + QStringLiteral("/") + relative;
}

void LanguageBundle::ReadStrings() {
    QFile file(ResourcePath(QStringLiteral("strings.json")));
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QJsonObject table = QJsonDocument::fromJson(file.readAll()).object();
    for (auto entry = table.begin(); entry != table.end(); ++entry) {
        bool isNumber = false;
        const int id = entry.key().toInt(&isNumber);
        if (isNumber && entry.value().isString()) {
            strings_[id] = entry.value().toString().toStdString();
        }
    }
}
