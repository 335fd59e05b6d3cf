#pragma once

#include <QTranslator>
#include <string>

// Qt's own texts (the OK, Cancel, Yes and No buttons of dialogs and message boxes) in
// the language of the chosen bundle, from Qt's translation files. Installed for the
// lifetime of the object; English, or a system without Qt's translations, keeps Qt's
// English texts.
class StandardButtonTexts {
  public:
    // `languageName` is the bundle's language: "German", "ChineseS" and so on.
    explicit StandardButtonTexts(const std::string& languageName);
    ~StandardButtonTexts();
    StandardButtonTexts(const StandardButtonTexts&) = delete;
    StandardButtonTexts& operator=(const StandardButtonTexts&) = delete;

    bool IsInstalled() const { return installed_; }

    // The locale of Qt's translation files for a bundle language; empty for English
    // and any language without a bundle of its own.
    static std::string QtLocaleName(const std::string& languageName);

  private:
    QTranslator translator_;
    bool installed_ = false;
};
