#include "platform/user_language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

TEST(UserLanguageFromLocaleName, MapsTheLanguagesWithBundles) {
    EXPECT_EQ(user_language::FromLocaleName("de_DE.UTF-8"), 0x0407);
    EXPECT_EQ(user_language::FromLocaleName("de_AT"), 0x0C07);
    EXPECT_EQ(user_language::FromLocaleName("en_US.UTF-8"), 0x0409);
    EXPECT_EQ(user_language::FromLocaleName("en_GB.ISO-8859-1"), 0x0809);
    EXPECT_EQ(user_language::FromLocaleName("fr_FR.UTF-8@euro"), 0x040C);
    EXPECT_EQ(user_language::FromLocaleName("fr_CA"), 0x0C0C);
    EXPECT_EQ(user_language::FromLocaleName("es_ES.UTF-8"), 0x0C0A);
    EXPECT_EQ(user_language::FromLocaleName("es_MX"), 0x080A);
    EXPECT_EQ(user_language::FromLocaleName("it_IT"), 0x0410);
    EXPECT_EQ(user_language::FromLocaleName("ja_JP.eucJP"), 0x0411);
    EXPECT_EQ(user_language::FromLocaleName("nl_NL"), 0x0413);
}

TEST(UserLanguageFromLocaleName, GivesEachChineseTerritoryItsSublanguage) {
    EXPECT_EQ(user_language::FromLocaleName("zh_TW.UTF-8"), 0x0404);
    EXPECT_EQ(user_language::FromLocaleName("zh_CN.GB18030"), 0x0804);
    EXPECT_EQ(user_language::FromLocaleName("zh_HK.UTF-8"), 0x0C04);
    EXPECT_EQ(user_language::FromLocaleName("zh_SG"), 0x1004);
    EXPECT_EQ(user_language::FromLocaleName("zh_MO"), 0x1404);
    EXPECT_EQ(user_language::FromLocaleName("zh"), 0x0804);
}

TEST(UserLanguageFromLocaleName, AcceptsOtherSpellingsOfTheSameLocale) {
    EXPECT_EQ(user_language::FromLocaleName("DE_de"), 0x0407);
    EXPECT_EQ(user_language::FromLocaleName("de-DE"), 0x0407);
    EXPECT_EQ(user_language::FromLocaleName("de"), 0x0407);
    EXPECT_EQ(user_language::FromLocaleName("de_ZZ"), 0x0407);
}

TEST(UserLanguageFromLocaleName, FallsBackToUsEnglish) {
    EXPECT_EQ(user_language::FromLocaleName("C"), 0x0409);
    EXPECT_EQ(user_language::FromLocaleName("C.UTF-8"), 0x0409);
    EXPECT_EQ(user_language::FromLocaleName("POSIX"), 0x0409);
    EXPECT_EQ(user_language::FromLocaleName(""), 0x0409);
    EXPECT_EQ(user_language::FromLocaleName("xx_YY"), 0x0409);
}

// Sets the three locale variables for one test and restores them afterwards.
class LocaleEnvironment : public ::testing::Test {
  protected:
    static constexpr const char* kVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            const char* value = std::getenv(kVariables[i]);
            saved_[i] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
            unsetenv(kVariables[i]);
        }
    }
    void TearDown() override {
        for (int i = 0; i < 3; ++i) {
            if (saved_[i]) {
                setenv(kVariables[i], saved_[i]->c_str(), 1);
            } else {
                unsetenv(kVariables[i]);
            }
        }
    }
    std::optional<std::string> saved_[3];
};

TEST_F(LocaleEnvironment, LcAllWinsOverLcMessagesAndLang) {
    setenv("LANG", "fr_FR.UTF-8", 1);
    setenv("LC_MESSAGES", "it_IT.UTF-8", 1);
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(user_language::Identifier(), 0x0407);
    unsetenv("LC_ALL");
    EXPECT_EQ(user_language::Identifier(), 0x0410);
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(user_language::Identifier(), 0x040C);
}

TEST_F(LocaleEnvironment, EmptyVariablesCountAsUnset) {
    setenv("LC_ALL", "", 1);
    setenv("LANG", "zh_TW.UTF-8", 1);
    EXPECT_EQ(user_language::LocaleName(), "zh_TW.UTF-8");
    EXPECT_EQ(user_language::Identifier(), 0x0404);
}

TEST_F(LocaleEnvironment, NoLocaleOrTheCLocaleIsEnglish) {
    EXPECT_EQ(user_language::LocaleName(), "");
    EXPECT_EQ(user_language::Identifier(), 0x0409);
    setenv("LANG", "de_DE.UTF-8", 1);
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(user_language::Identifier(), 0x0409);
}

}  // namespace
