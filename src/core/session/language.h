#pragma once
// Which language the interface speaks. Both programs take `--lang ja|en`;
// without it the locale decides. What the program writes (pages, settings
// files, comment files) never depends on this.

#include <optional>
#include <string_view>

namespace pictavo {

enum class InterfaceLanguage { Japanese, English };

// The language a `--lang` value names ("ja" or "en"); nullopt for anything else.
std::optional<InterfaceLanguage> ParseInterfaceLanguage(std::string_view name);

// The locale's language: the first of LC_ALL, LC_MESSAGES and LANG that is
// set and not empty (as the C library reads them). Japanese for "ja…", and
// for "C" and "POSIX" (and an unset locale), so scripts and CI see the
// texts they always saw; English for any other.
InterfaceLanguage LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

// The same from this process's environment.
InterfaceLanguage LanguageOfEnvironment();

// "ja" or "en": the catalogue suffix the front ends load.
const char* LanguageCode(InterfaceLanguage language);

}  // namespace pictavo
