#pragma once
// Messages in assertions: core reports them as values, the tests compare and
// print them as the user reads them.

#include <optional>
#include <ostream>
#include <string>

#include "message_table.h"

namespace pictavo {

inline bool operator==(const std::string& text, const Message& message) { return text == RenderMessage(message); }
inline std::ostream& operator<<(std::ostream& out, const Message& message) { return out << RenderMessage(message); }
// The rendering, or "" for no message.
inline std::string Rendered(const std::optional<Message>& message) { return message ? RenderMessage(*message) : ""; }

}  // namespace pictavo
