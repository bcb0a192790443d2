#include "cli_language.h"

#include <algorithm>
#include <cstring>

#include "message_table.h"
#include "translated_text.h"

namespace pictavo::cli {
namespace {

InterfaceLanguage g_language = InterfaceLanguage::Japanese;

const char* English(const char* source) {
  const TranslatedText* begin = kTranslatedMessages;
  const TranslatedText* end = kTranslatedMessages + kTranslatedMessageCount;
  const TranslatedText* found = std::lower_bound(
      begin, end, source, [](const TranslatedText& t, const char* s) { return std::strcmp(t.source, s) < 0; });
  return found != end && std::strcmp(found->source, source) == 0 ? found->translation : source;
}

}  // namespace

void SetCliLanguage(InterfaceLanguage language) { g_language = language; }
InterfaceLanguage CliLanguage() { return g_language; }

std::string RenderCliMessage(const Message& message) {
  const char* pattern = MessageTemplate(message.id);
  if (!pattern) return RenderMessage(message);
  if (g_language == InterfaceLanguage::English) pattern = English(pattern);
  return SubstituteArguments(pattern, message.args);
}

}  // namespace pictavo::cli
