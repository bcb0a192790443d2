#pragma once
// The command line's language: `--lang ja|en`, else the locale (see
// session/language.h). Only what it tells the user follows it; what it
// writes never does.

#include <string>

#include "platform/message.h"
#include "session/language.h"

namespace pictavo::cli {

void SetCliLanguage(InterfaceLanguage language);
InterfaceLanguage CliLanguage();

// `message` as the user reads it in the command line's language; a text
// the English catalogue lacks stays Japanese.
std::string RenderCliMessage(const Message& message);

}  // namespace pictavo::cli
