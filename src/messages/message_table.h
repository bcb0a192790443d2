#pragma once
// The wording of every message core reports, in the program's own language.
// Both front ends render from this one table: the command line as it is, the
// windows through Qt's translation of each entry (context "Message").

#include <string>

#include "platform/message.h"

namespace pictavo {

// The table's text for `id`, with "%1", "%2", … still in it; null for an id
// the table lacks (a test keeps that from happening).
const char* MessageTemplate(MessageId id);

// Puts args[0] for "%1", args[1] for "%2", … in one pass, so a path that
// itself holds "%2" stays as it is. A placeholder without an argument stays.
std::string SubstituteArguments(const std::string& text, const std::vector<std::string>& args);

// The message as the user reads it in the table's language.
std::string RenderMessage(const Message& message);

}  // namespace pictavo
