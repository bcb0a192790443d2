#include "session/language.h"

#include <cstdlib>
#include <string>

namespace pictavo {

std::optional<InterfaceLanguage> ParseInterfaceLanguage(std::string_view name) {
  if (name == "ja") return InterfaceLanguage::Japanese;
  if (name == "en") return InterfaceLanguage::English;
  return std::nullopt;
}

InterfaceLanguage LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  std::string_view locale = "C";
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value && *value) {
      locale = value;
      break;
    }
  }
  // "C.UTF-8" and "POSIX" are the untranslated locales a script runs under.
  const std::string_view base = locale.substr(0, locale.find_first_of(".@"));
  if (base == "C" || base == "POSIX" || locale.substr(0, 2) == "ja") return InterfaceLanguage::Japanese;
  return InterfaceLanguage::English;
}

InterfaceLanguage LanguageOfEnvironment() {
  return LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

const char* LanguageCode(InterfaceLanguage language) {
  return language == InterfaceLanguage::English ? "en" : "ja";
}

}  // namespace pictavo
