#include "session/language.h"

#include <gtest/gtest.h>

namespace pictavo {
namespace {

TEST(InterfaceLanguageTest, LocaleDecidesInTheCLibrarysOrder) {
  using L = InterfaceLanguage;
  // Scripts and CI run under C or POSIX, or with no locale at all: they keep Japanese.
  EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, nullptr), L::Japanese);
  EXPECT_EQ(LanguageOfLocale("", "", ""), L::Japanese);
  EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "C"), L::Japanese);
  EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "C.UTF-8"), L::Japanese);
  EXPECT_EQ(LanguageOfLocale("POSIX", nullptr, nullptr), L::Japanese);
  EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "ja_JP.UTF-8"), L::Japanese);
  EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "ja"), L::Japanese);
  EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "en_GB.UTF-8"), L::English);
  EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "de_DE@euro"), L::English);
  // "Cy" is Welsh's prefix, not the C locale.
  EXPECT_EQ(LanguageOfLocale(nullptr, nullptr, "cy_GB.UTF-8"), L::English);
  // LC_ALL wins over LC_MESSAGES, which wins over LANG; empty values are skipped.
  EXPECT_EQ(LanguageOfLocale("en_US.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8"), L::English);
  EXPECT_EQ(LanguageOfLocale("", "fr_FR.UTF-8", "ja_JP.UTF-8"), L::English);
  EXPECT_EQ(LanguageOfLocale("", "", "ja_JP.eucJP"), L::Japanese);
}

TEST(InterfaceLanguageTest, FlagNamesOnlyTheTwoLanguages) {
  EXPECT_EQ(ParseInterfaceLanguage("ja"), InterfaceLanguage::Japanese);
  EXPECT_EQ(ParseInterfaceLanguage("en"), InterfaceLanguage::English);
  EXPECT_EQ(ParseInterfaceLanguage("EN"), std::nullopt);
  EXPECT_EQ(ParseInterfaceLanguage("english"), std::nullopt);
  EXPECT_EQ(ParseInterfaceLanguage(""), std::nullopt);
  EXPECT_STREQ(LanguageCode(InterfaceLanguage::English), "en");
  EXPECT_STREQ(LanguageCode(InterfaceLanguage::Japanese), "ja");
}

}  // namespace
}  // namespace pictavo
