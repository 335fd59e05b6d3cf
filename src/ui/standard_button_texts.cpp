#include "ui/standard_button_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <array>
#include <utility>

StandardButtonTexts::StandardButtonTexts(const std::string& languageName) {
    const std::string locale = QtLocaleName(languageName);
    if (locale.empty()) {
        return;
    }
    installed_ = translator_.load(QStringLiteral("qtbase_") + QString::fromStdString(locale),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                 QCoreApplication::installTranslator(&translator_);
}

StandardButtonTexts::~StandardButtonTexts() {
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
    }
}

std::string StandardButtonTexts::QtLocaleName(const std::string& languageName) {
    static const std::array<std::pair<const char*, const char*>, 6> kLocales{{
        {"German", "de"},
        {"French", "fr"},
        {"Spanish", "es"},
        {"Italian", "it"},
        {"ChineseS", "zh_CN"},
        {"ChineseT", "zh_TW"},
    }};
    for (const auto& [name, locale] : kLocales) {
        if (languageName == name) {
            return locale;
        }
    }
    return {};
}
