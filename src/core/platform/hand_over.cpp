#include "platform/hand_over.h"

#include <cstdint>

#include "text/encoding.h"

namespace pictavo {

namespace {

void Put32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}
void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>((v >> 8) & 0xFF);
  out += static_cast<char>(v & 0xFF);
}
uint32_t Get(std::string_view b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int k = 0; k < bytes; ++k) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(k)]);
  return v;
}

// The code points of UTF-8 text; a byte that starts no character reads as U+FFFD.
std::u32string CodePoints(std::string_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size() || !IsValidUtf8(s.substr(i, len))) {
      out += U'\uFFFD';
      ++i;
      continue;
    }
    char32_t cp = len == 1 ? b : b & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out += cp;
    i += len;
  }
  return out;
}

}  // namespace

std::string WriteHandOver(const std::vector<std::string>& arguments) {
  std::string out;
  Put32(out, static_cast<uint32_t>(arguments.size()));
  for (const std::string& a : arguments) {
    std::string units;
    for (const char32_t cp : CodePoints(a)) {
      if (cp >= 0x10000) {
        Put16(units, 0xD800 + ((cp - 0x10000) >> 10));
        Put16(units, 0xDC00 + ((cp - 0x10000) & 0x3FF));
      } else {
        Put16(units, cp);
      }
    }
    Put32(out, static_cast<uint32_t>(units.size()));
    out += units;
  }
  return out;
}

std::optional<std::vector<std::string>> ReadHandOver(std::string_view bytes) {
  if (bytes.size() > kMaxHandOverBytes || bytes.size() < 4) return std::nullopt;
  size_t at = 4;
  const uint32_t count = Get(bytes, 0, 4);
  // Every string takes at least its four length bytes.
  if (count > (bytes.size() - at) / 4) return std::nullopt;
  std::vector<std::string> out;
  out.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    if (bytes.size() - at < 4) return std::nullopt;
    const uint32_t length = Get(bytes, at, 4);
    at += 4;
    std::string text;
    if (length != 0xFFFFFFFFu) {
      if (length % 2 != 0 || length > bytes.size() - at) return std::nullopt;
      for (size_t k = 0; k < length; k += 2) {
        const uint32_t unit = Get(bytes, at + k, 2);
        const uint32_t next = k + 4 <= length ? Get(bytes, at + k + 2, 2) : 0;
        if (unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
          AppendUtf8(text, static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00)));
          k += 2;
        } else {
          AppendUtf8(text, unit >= 0xD800 && unit <= 0xDFFF ? U'\uFFFD' : static_cast<char32_t>(unit));
        }
      }
      at += length;
    }
    out.push_back(std::move(text));
  }
  if (at != bytes.size()) return std::nullopt;
  return out;
}

}  // namespace pictavo
