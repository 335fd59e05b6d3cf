#include "document/language_choice.h"

#include <gtest/gtest.h>

namespace {

TEST(LanguageChoice, GermanLoadsTheGermanBundle) {
    EXPECT_EQ(language_choice::LanguageName(0x0407), "German");
    EXPECT_EQ(language_choice::BundleFileName(0x0407), "4286 German.dll");
    EXPECT_EQ(language_choice::LanguageName(0x0807), "German");
}

TEST(LanguageChoice, ChineseSublanguagesChooseSimplifiedOrTraditional) {
    EXPECT_EQ(language_choice::BundleFileName(0x0804), "4286 ChineseS.dll");  // PRC
    EXPECT_EQ(language_choice::BundleFileName(0x1004), "4286 ChineseS.dll");  // Singapore
    EXPECT_EQ(language_choice::BundleFileName(0x0404), "4286 ChineseT.dll");  // Taiwan
    EXPECT_EQ(language_choice::BundleFileName(0x0C04), "4286 ChineseT.dll");  // Hong Kong
    EXPECT_EQ(language_choice::BundleFileName(0x1404), "4286 ChineseT.dll");  // Macau
    EXPECT_EQ(language_choice::BundleFileName(0x0004), "4286 ChineseT.dll");
    EXPECT_EQ(language_choice::BundleFileName(0x1804), "4286 ChineseT.dll");
}

TEST(LanguageChoice, EachLanguageWithABundleGetsItsName) {
    EXPECT_EQ(language_choice::LanguageName(0x0409), "English");
    EXPECT_EQ(language_choice::LanguageName(0x0809), "English");
    EXPECT_EQ(language_choice::LanguageName(0x0C0A), "Spanish");
    EXPECT_EQ(language_choice::LanguageName(0x040A), "Spanish");
    EXPECT_EQ(language_choice::LanguageName(0x040C), "French");
    EXPECT_EQ(language_choice::LanguageName(0x0410), "Italian");
}

TEST(LanguageChoice, UnlistedLanguagesFallBackToEnglish) {
    EXPECT_EQ(language_choice::BundleFileName(0x0411), "4286 English.dll");  // Japanese
    EXPECT_EQ(language_choice::BundleFileName(0x0413), "4286 English.dll");  // Dutch
    EXPECT_EQ(language_choice::BundleFileName(0x0000), "4286 English.dll");
}

}  // namespace
