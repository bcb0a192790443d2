#pragma once
// Escaping for file names put into pages: only the characters that would
// break the markup or the address are touched, so an ordinary name is written
// exactly as it is. Texts the user types (title, header, footer, comments)
// are never escaped: they may carry markup on purpose.

#include <string>
#include <string_view>

namespace pictavo {

// Inside a double-quoted attribute: & " < > become entities.
std::string EscapeAttribute(std::string_view s);
// A relative address: % # ? percent-encoded (the rest stays, as browsers accept it).
std::string EscapeAddressPart(std::string_view s);
// An address inside a double-quoted attribute.
inline std::string EscapeAddressAttribute(std::string_view s) { return EscapeAttribute(EscapeAddressPart(s)); }
// Inside a script string delimited by `quote`: the quote and backslash escaped.
std::string EscapeScriptString(std::string_view s, char quote);

}  // namespace pictavo
