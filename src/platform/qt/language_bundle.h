#pragma once

#include <QByteArray>
#include <QIcon>
#include <QString>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/qt/icon_resources.h"
#include "platform/string_resources.h"

class QIODevice;

// One language bundle: a Qt binary resource file holding strings.json (string id ->
// text), icons/<id>.png or icons/<id>.svg and dialogs/<id>.ui. The file is registered
// under a mount point of its own for the lifetime of the object and unregistered when
// it is destroyed.
class LanguageBundle : public StringResources, public IconResources {
  public:
    // Registers the bundle file; IsLoaded() tells whether that worked.
    explicit LanguageBundle(const std::filesystem::path& file);
    ~LanguageBundle() override;
    LanguageBundle(const LanguageBundle&) = delete;
    LanguageBundle& operator=(const LanguageBundle&) = delete;

    // Where a bundle name is found: a name with a folder is taken as it stands; a bare
    // name is looked up in the executable's folder, then in ../share/quorvel-imager/
    // beside it, then in <device root>/Windows/. Empty when none of them holds it.
    static std::filesystem::path Locate(const std::string& name,
                                        const std::filesystem::path& executableFolder);

    bool IsLoaded() const { return loaded_; }
    const std::filesystem::path& File() const { return file_; }

    std::string String(int id) const override;
    QIcon Icon(int id) const override;

    // The dialog template dialogs/<id>.ui; empty, or null, when the bundle lacks it.
    QByteArray DialogTemplate(int id) const;
    std::unique_ptr<QIODevice> OpenDialogTemplate(int id) const;

  private:
    QString ResourcePath(const QString& relative) const;
    void ReadStrings();

    std::filesystem::path file_;
    QString mapRoot_;
    bool loaded_ = false;
    std::map<int, std::string> strings_;
};
