#pragma once
// CP932 (Windows Shift_JIS) conversion. Inside the program every text is UTF-8;
// every text file on disk is CP932.

#include <string>
#include <string_view>

namespace pictavo {

// UTF-8 to CP932. A character CP932 cannot encode, or encodes only as the
// bytes of another character, is written as "&#N;" so that pages stay valid
// and the character survives a round trip. Invalid UTF-8
// bytes become "?".
std::string Utf8ToCp932(std::string_view utf8);

// CP932 to UTF-8. Bytes that are not valid CP932 read as U+FFFD. When
// decodeReferences is set, a "&#N;" whose character CP932 cannot encode turns
// back into that character (the inverse of Utf8ToCp932); references to
// encodable characters stay as typed.
std::string Cp932ToUtf8(std::string_view cp932, bool decodeReferences = false);

// True when the code point has a CP932 encoding that reads back as itself.
bool IsCp932Encodable(char32_t cp);

// UTF-8 helpers.
bool IsValidUtf8(std::string_view s);
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace pictavo
