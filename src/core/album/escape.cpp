#include "album/escape.h"

#include <string>

#include "text/encoding.h"

namespace pictavo {

std::string EscapeAttribute(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string EscapeAddressPart(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '%': out += "%25"; break;
      case '#': out += "%23"; break;
      case '?': out += "%3F"; break;
      default:
        // A browser drops tabs and line breaks from an address and stops
        // at other controls; encoded, the name reaches the file.
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          static constexpr char kHexDigits[] = "0123456789ABCDEF";
          out += '%';
          out += kHexDigits[(static_cast<unsigned char>(c) >> 4) & 15];
          out += kHexDigits[c & 15];
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string EscapeScriptString(std::string_view s, char quote) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '\\' || c == quote) out += '\\';
    out += c;
  }
  return out;
}

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendPercent(std::string& out, unsigned byte) {
  out += '%';
  out += kHex[(byte >> 4) & 15];
  out += kHex[byte & 15];
}

void AppendScriptEscape(std::string& out, unsigned unit) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 15];
}

// Decodes one UTF-8 character at s[i]; a bad byte comes back as itself with length 1.
char32_t NextCodePoint(std::string_view s, size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + static_cast<size_t>(len) > s.size() || !IsValidUtf8(s.substr(i, static_cast<size_t>(len)))) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = len == 1 ? b : (b & (0x7F >> len));
  for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0x3F);
  i += static_cast<size_t>(len);
  return cp;
}

}  // namespace

std::string EscapeSlideShowName(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const size_t at = i;
    const char32_t cp = NextCodePoint(s, i);
    if (cp < 0x80) {
      const char c = static_cast<char>(cp);
      if (cp < 0x20 || cp == 0x7F || c == '%' || c == '#' || c == '?' || c == '\\') {
        AppendPercent(out, static_cast<unsigned>(cp));
      } else if (c == ' ' || c == '"' || c == '\'' || c == '=' || c == '<' || c == '>' || c == '`' || c == '&') {
        out += "&#" + std::to_string(static_cast<unsigned>(cp)) + ";";
      } else {
        out += c;
      }
    } else if (IsCp932Encodable(cp)) {
      out.append(s.substr(at, i - at));
    } else if (cp < 0x10000) {
      AppendScriptEscape(out, static_cast<unsigned>(cp));
    } else {
      const char32_t v = cp - 0x10000;
      AppendScriptEscape(out, static_cast<unsigned>(0xD800 + (v >> 10)));
      AppendScriptEscape(out, static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
    }
  }
  return out;
}

}  // namespace pictavo
