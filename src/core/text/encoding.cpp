#include "text/encoding.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <mutex>
#include <stdexcept>

namespace pictavo {
namespace {

// Decodes one UTF-8 sequence at s[i]; returns the code point or -1 when invalid
// and sets len to the bytes consumed (at least 1).
long DecodeUtf8(std::string_view s, size_t i, size_t& len) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  len = 1;
  if (b0 < 0x80) return b0;
  size_t n;
  char32_t cp;
  if ((b0 & 0xE0) == 0xC0) {
    n = 2;
    cp = b0 & 0x1Fu;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3;
    cp = b0 & 0x0Fu;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4;
    cp = b0 & 0x07u;
  } else {
    return -1;
  }
  if (i + n > s.size()) return -1;
  for (size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (b & 0x3Fu);
  }
  static constexpr std::array<char32_t, 5> kMin = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  len = n;
  return static_cast<long>(cp);
}

// One iconv descriptor per direction, guarded: conversions are short and
// rare enough that sharing them costs nothing measurable.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(m_cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one unit; returns false when iconv rejects it.
  bool convert(std::string_view in, std::string& out) {
    std::lock_guard<std::mutex> lock(m_mutex);
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char buf[16];
    char* inp = const_cast<char*>(in.data());
    size_t inleft = in.size();
    char* outp = buf;
    size_t outleft = sizeof buf;
    if (iconv(m_cd, &inp, &inleft, &outp, &outleft) == static_cast<size_t>(-1) || inleft != 0) {
      return false;
    }
    out.append(buf, static_cast<size_t>(outp - buf));
    return true;
  }

 private:
  iconv_t m_cd;
  std::mutex m_mutex;
};

Converter& ToCp932() {
  static Converter c("CP932", "UTF-8");
  return c;
}
Converter& FromCp932() {
  static Converter c("UTF-8", "CP932");
  return c;
}

// Encodes one UTF-8 character when CP932 gives it back unchanged on reading.
// iconv also maps some characters one way only (U+301C WAVE DASH to the bytes
// of U+FF5E, U+00A5 to the byte 0x5C); such a character would come back as
// another one, breaking file names in links and comment records.
bool EncodeRoundTrip(std::string_view utf8Char, std::string& out) {
  std::string bytes, back;
  if (!ToCp932().convert(utf8Char, bytes)) return false;
  if (!FromCp932().convert(bytes, back) || back != utf8Char) return false;
  out += bytes;
  return true;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

void AppendReference(std::string& out, char32_t cp) {
  out += "&#";
  out += std::to_string(static_cast<unsigned long>(cp));
  out += ';';
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    size_t len;
    if (DecodeUtf8(s, i, len) < 0) return false;
    i += len;
  }
  return true;
}

bool IsCp932Encodable(char32_t cp) {
  if (cp < 0x80) return true;
  std::string u, out;
  AppendUtf8(u, cp);
  return EncodeRoundTrip(u, out);
}

std::string Utf8ToCp932(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    // Plain ASCII runs go straight through.
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    size_t len;
    const long cp = DecodeUtf8(utf8, i, len);
    if (cp < 0) {
      out += '?';
    } else if (!EncodeRoundTrip(utf8.substr(i, len), out)) {
      AppendReference(out, static_cast<char32_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932, bool decodeReferences) {
  std::string out;
  out.reserve(cp932.size() + cp932.size() / 2);
  size_t i = 0;
  while (i < cp932.size()) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    if (b < 0x80) {
      if (decodeReferences && b == '&' && i + 3 < cp932.size() && cp932[i + 1] == '#') {
        size_t j = i + 2;
        unsigned long value = 0;
        while (j < cp932.size() && j < i + 10 && cp932[j] >= '0' && cp932[j] <= '9') {
          value = value * 10 + static_cast<unsigned long>(cp932[j] - '0');
          ++j;
        }
        if (j > i + 2 && j < cp932.size() && cp932[j] == ';' && value <= 0x10FFFF &&
            !(value >= 0xD800 && value <= 0xDFFF) && !IsCp932Encodable(static_cast<char32_t>(value))) {
          AppendUtf8(out, static_cast<char32_t>(value));
          i = j + 1;
          continue;
        }
      }
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    size_t len = 1;
    if (IsLeadByte(b) && i + 1 < cp932.size()) {
      const auto t = static_cast<unsigned char>(cp932[i + 1]);
      if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) len = 2;
    }
    if (!FromCp932().convert(cp932.substr(i, len), out)) {
      AppendUtf8(out, 0xFFFD);
    }
    i += len;
  }
  return out;
}

}  // namespace pictavo
