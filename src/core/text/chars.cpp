#include "text/chars.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pictavo {

namespace {
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

long CharLength(std::string_view s) {
  long n = 0;
  for (char c : s) {
    if (!IsContinuation(c)) ++n;
  }
  return n;
}

size_t ByteOffsetOfChar(std::string_view s, long index0) {
  if (index0 <= 0) return 0;
  long seen = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (!IsContinuation(s[i])) {
      if (seen == index0) return i;
      ++seen;
    }
  }
  return s.size();
}

std::string LeftChars(std::string_view s, long n) {
  if (n <= 0) return {};
  return std::string(s.substr(0, ByteOffsetOfChar(s, n)));
}

std::string RightChars(std::string_view s, long n) {
  if (n <= 0) return {};
  const long len = CharLength(s);
  const long start = std::max(1L, len - n + 1);
  return std::string(s.substr(ByteOffsetOfChar(s, start - 1)));
}

std::string MidChars(std::string_view s, long start, long count) {
  const long len = CharLength(s);
  if (len == 0) return {};
  if (start > len) start = len;
  if (start < 1) start = 1;
  const long last = std::min(len, start + count - 1);
  if (last < start) return {};
  const size_t from = ByteOffsetOfChar(s, start - 1);
  const size_t to = ByteOffsetOfChar(s, last);
  return std::string(s.substr(from, to - from));
}

std::string ZeroPad(long long value, int width) {
  return RightChars(std::string(static_cast<size_t>(width), '0') + std::to_string(value), width);
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::optional<int32_t> ParseDecimal(std::string_view s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  if (i == s.size()) return std::nullopt;
  long long value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

long long RoundHalfEven(long double x) {
  // nearbyint honours the current rounding mode; the default is to-nearest-even.
  return static_cast<long long>(std::nearbyintl(x));
}

long long Truncate(long double x) { return static_cast<long long>(std::truncl(x)); }

std::string ColorToHtml(int64_t color) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%06llX", static_cast<unsigned long long>(static_cast<uint32_t>(color)));
  const std::string hex(buf);
  return hex.substr(hex.size() - 2) + hex.substr(2, 2) + hex.substr(0, 2);
}

}  // namespace pictavo
