#include "album/escape.h"

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
      default: out += c;
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

}  // namespace pictavo
