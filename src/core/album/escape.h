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
// A relative address: % # ? and control characters percent-encoded (the rest
// stays, as browsers accept it).
std::string EscapeAddressPart(std::string_view s);
// An address inside a double-quoted attribute.
inline std::string EscapeAddressAttribute(std::string_view s) { return EscapeAttribute(EscapeAddressPart(s)); }
// Inside a script string delimited by `quote`: the quote and backslash escaped.
std::string EscapeScriptString(std::string_view s, char quote);

// A picture name for the slide show's script array. The script writes it,
// unquoted, into the SRC and ALT attributes and the title of its window, so
// the value must survive a script string, an unquoted attribute and an
// address: % # ? \ and control characters are percent-encoded; blanks, quotes,
// = < > ` & become numeric character references (which the window's markup
// turns back); characters CP932 cannot hold become \uXXXX script escapes (the
// page would otherwise carry a reference the script never decodes). Other
// characters, Japanese ones included, stay as they are.
std::string EscapeSlideShowName(std::string_view s);

}  // namespace pictavo
