#include "check/page_reader.h"

#include <algorithm>
#include <map>

#include "text/chars.h"
#include "text/encoding.h"
#include "toc/discovery.h"

namespace pictavo {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Upper(c);
  return out;
}

void AppendCodePoint(std::string& out, unsigned long cp) {
  const bool bad = cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF);
  AppendUtf8(out, bad ? U'\uFFFD' : static_cast<char32_t>(cp));
}

// A run of digits as a number, or nullopt when empty, not all digits or too long.
std::optional<long long> Number(std::string_view s) {
  if (s.empty() || s.size() > 12) return std::nullopt;
  long long v = 0;
  for (char c : s) {
    if (!IsDigit(c)) return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

struct Tag {
  std::string name;  // upper case
  bool closing = false;
  size_t begin = 0, end = 0;
  std::vector<std::pair<std::string, std::string>> attributes;  // lower-case name, decoded value
  const std::string* attribute(std::string_view wanted) const {
    for (const auto& [n, v] : attributes) {
      if (n == wanted) return &v;
    }
    return nullptr;
  }
};

size_t FindCaseless(std::string_view text, std::string_view lowerNeedle, size_t from) {
  for (size_t i = from; i + lowerNeedle.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < lowerNeedle.size() && Lower(text[i + k]) == lowerNeedle[k]) ++k;
    if (k == lowerNeedle.size()) return i;
  }
  return std::string_view::npos;
}

// The tags of an HTML text as a browser tokenises them, closely enough for
// pages of this kind: comments are passed over, and with skipScripts the
// content of SCRIPT and STYLE elements too. A tag the text ends inside is
// dropped.
std::vector<Tag> ScanTags(std::string_view text, bool skipScripts) {
  std::vector<Tag> tags;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const size_t lt = text.find('<', i);
    if (lt == std::string_view::npos || lt + 1 >= n) break;
    if (text.substr(lt, 4) == "<!--") {
      const size_t e = text.find("-->", lt + 4);
      if (e == std::string_view::npos) break;
      i = e + 3;
      continue;
    }
    size_t p = lt + 1;
    Tag tag;
    if (text[p] == '/') {
      tag.closing = true;
      ++p;
    }
    if (p >= n || !IsAlpha(text[p])) {
      if (text[lt + 1] == '!' || text[lt + 1] == '?') {
        const size_t e = text.find('>', lt);
        if (e == std::string_view::npos) break;
        i = e + 1;
      } else {
        i = lt + 1;
      }
      continue;
    }
    const size_t nameStart = p;
    while (p < n && !IsSpace(text[p]) && text[p] != '/' && text[p] != '>') ++p;
    tag.name = UpperAscii(text.substr(nameStart, p - nameStart));
    tag.begin = lt;
    bool complete = false;
    while (p < n) {
      while (p < n && (IsSpace(text[p]) || text[p] == '/')) ++p;
      if (p >= n) break;
      if (text[p] == '>') {
        complete = true;
        ++p;
        break;
      }
      const size_t an = p++;
      while (p < n && !IsSpace(text[p]) && text[p] != '/' && text[p] != '>' && text[p] != '=') ++p;
      std::string name = LowerAscii(text.substr(an, p - an));
      size_t q = p;
      while (q < n && IsSpace(text[q])) ++q;
      std::string_view value;
      if (q < n && text[q] == '=') {
        ++q;
        while (q < n && IsSpace(text[q])) ++q;
        if (q < n && (text[q] == '"' || text[q] == '\'')) {
          const size_t e = text.find(text[q], q + 1);
          if (e == std::string_view::npos) {
            p = n;
            break;
          }
          value = text.substr(q + 1, e - q - 1);
          p = e + 1;
        } else {
          const size_t v0 = q;
          while (q < n && !IsSpace(text[q]) && text[q] != '>') ++q;
          value = text.substr(v0, q - v0);
          p = q;
        }
      }
      tag.attributes.emplace_back(std::move(name), DecodeReferences(value));
    }
    if (!complete) break;
    tag.end = p;
    i = p;
    const bool raw = skipScripts && !tag.closing && (tag.name == "SCRIPT" || tag.name == "STYLE");
    const std::string closer = tag.name == "SCRIPT" ? "</script" : "</style";
    tags.push_back(std::move(tag));
    if (raw) {
      const size_t e = FindCaseless(text, closer, i);
      if (e == std::string_view::npos) break;
      i = e;
    }
  }
  return tags;
}

// Script string escapes as the slide show's script reads them.
std::string ScriptUnescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    auto hex = [&](size_t at, size_t count) -> long {
      if (at + count > s.size()) return -1;
      long v = 0;
      for (size_t k = 0; k < count; ++k) {
        const int h = HexValue(s[at + k]);
        if (h < 0) return -1;
        v = v * 16 + h;
      }
      return v;
    };
    if (c == 'u' && hex(i + 1, 4) >= 0) {
      unsigned long unit = static_cast<unsigned long>(hex(i + 1, 4));
      i += 4;
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 6 < s.size() && s[i + 1] == '\\' && s[i + 2] == 'u' &&
          hex(i + 3, 4) >= 0xDC00 && hex(i + 3, 4) <= 0xDFFF) {
        const unsigned long low = static_cast<unsigned long>(hex(i + 3, 4));
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 6;
      }
      AppendCodePoint(out, unit);
    } else if (c == 'x' && hex(i + 1, 2) >= 0) {
      AppendCodePoint(out, static_cast<unsigned long>(hex(i + 1, 2)));
      i += 2;
    } else if (c == 'n') {
      out += '\n';
    } else if (c == 't') {
      out += '\t';
    } else if (c == 'r') {
      out += '\r';
    } else {
      out += c;  // \\ \" \' and any other character stand for themselves
    }
  }
  return out;
}

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool EndsWith(std::string_view s, std::string_view p) {
  return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}

// "imag[3]="x.jpg";" gives ("", 3, "x.jpg"); "imagx[3]="120";" gives ("x", 3, "120").
bool SlideLine(std::string_view line, std::string& which, long long& n, std::string_view& value) {
  if (!StartsWith(line, "imag")) return false;
  size_t p = 4;
  which.clear();
  if (p < line.size() && (line[p] == 'x' || line[p] == 'y')) which = line[p++];
  if (p >= line.size() || line[p] != '[') return false;
  const size_t close = line.find(']', p);
  if (close == std::string_view::npos) return false;
  const auto number = Number(line.substr(p + 1, close - p - 1));
  if (!number || !StartsWith(line.substr(close), "]=\"") || !EndsWith(line, "\";")) return false;
  const size_t v0 = close + 3;
  if (line.size() < v0 + 2) return false;
  n = *number;
  value = line.substr(v0, line.size() - 2 - v0);
  return true;
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : m_text(Cp932ToUtf8(bytes, true)) {
    size_t start = 0;
    for (size_t i = 0; i < m_text.size(); ++i) {
      if (m_text[i] == '\r' || m_text[i] == '\n') {
        m_lines.push_back(std::string_view(m_text).substr(start, i - start));
        if (m_text[i] == '\r' && i + 1 < m_text.size() && m_text[i + 1] == '\n') ++i;
        start = i + 1;
        m_starts.push_back(start);
      }
    }
    if (start < m_text.size()) m_lines.push_back(std::string_view(m_text).substr(start));
  }

  ParsedPage parse() {
    ParsedPage page;
    page.lineCount = static_cast<long>(m_lines.size());
    page.kind = kind();
    if (page.kind == PageKind::NotOurs) return page;
    if (page.kind == PageKind::Unknown) {
      // Line 3 tells the kinds apart; a page that ends before it is damaged as a whole.
      page.troubles.push_back({page.lineCount >= 3 ? 3 : 0, "the head of the page is not one this program writes"});
    }
    size_t last = m_lines.size();
    while (last > 0 && m_lines[last - 1].empty()) --last;
    if (last == 0 || m_lines[last - 1] != "</HTML>") {
      page.troubles.push_back({static_cast<long>(last), "the page ends before its closing </HTML> line"});
    }
    addresses(page);
    if (page.kind == PageKind::SlideShow) {
      slides(page);
    } else if (page.kind == PageKind::Album || page.kind == PageKind::TocTable || page.kind == PageKind::TocList) {
      cells(page);
    }
    if (page.kind == PageKind::TocTable || page.kind == PageKind::TocList) tocEntries(page);
    return page;
  }

 private:
  std::string_view line(size_t number) const { return number >= 1 && number <= m_lines.size() ? m_lines[number - 1] : ""; }

  long lineOf(size_t offset) const {
    return static_cast<long>(std::upper_bound(m_starts.begin(), m_starts.end(), offset) - m_starts.begin()) + 1;
  }

  PageKind kind() const {
    if (!IsAlbumPage(std::string(line(2)))) return PageKind::NotOurs;
    const std::string_view third = line(3);
    if (third == "<!-- FRAME TOP PAGE -->") return PageKind::TocFrameset;
    if (third == "<!--  -->") return PageKind::SlideShow;
    if (!StartsWith(third, "<!-- FILE=") || !EndsWith(third, " -->")) return PageKind::Unknown;
    if (third.size() == 17 && Number(third.substr(10, 3))) {
      // The table of contents writes only the count; the frame list page's
      // links open in the main frame.
      return m_text.find("target=\"h_main\"") != std::string::npos ? PageKind::TocList : PageKind::TocTable;
    }
    return PageKind::Album;
  }

  void addresses(ParsedPage& page) const {
    for (const Tag& tag : ScanTags(m_text, true)) {
      if (tag.closing) continue;
      for (const auto& [name, value] : tag.attributes) {
        if (name == "href" || name == "src" || name == "background" || name == "action") {
          page.addresses.push_back({lineOf(tag.begin), tag.name, name, value});
        }
      }
    }
  }

  // "<TD align="center" valign="middle"><A ...><IMG ...></A></TD>", on the
  // catalogue page with two leading blanks, in the list page after "<TR>".
  void cells(ParsedPage& page) const {
    for (size_t k = 1; k <= m_lines.size(); ++k) {
      std::string_view l = line(k);
      while (!l.empty() && l.front() == ' ') l.remove_prefix(1);
      if (StartsWith(l, "<TR>")) l.remove_prefix(4);
      if (!StartsWith(l, "<TD align=\"center\" valign=\"middle\"><A ")) continue;
      const std::vector<Tag> tags = ScanTags(l, false);
      const Tag* a = tags.size() > 1 ? &tags[1] : nullptr;
      const Tag* img = tags.size() > 2 ? &tags[2] : nullptr;
      const std::string* href = a && a->name == "A" ? a->attribute("href") : nullptr;
      const std::string* src = img && img->name == "IMG" ? img->attribute("src") : nullptr;
      if (!href || !src) {
        page.troubles.push_back({static_cast<long>(k), "a picture cell that cannot be read"});
        continue;
      }
      PictureCell cell{static_cast<long>(k), *href, *src, std::nullopt, std::nullopt};
      if (const std::string* w = img->attribute("width")) cell.width = Number(*w);
      if (const std::string* h = img->attribute("height")) cell.height = Number(*h);
      page.cells.push_back(std::move(cell));
    }
  }

  // "<TD align="center"><A href="...">title</A></TD>", after "<TR>" on the
  // list page; on the table without pictures three plain cells follow it:
  // folder, count and date.
  void tocEntries(ParsedPage& page) const {
    auto plainCell = [&](size_t k, std::string& text) {
      const std::string_view l = line(k);
      if (!StartsWith(l, "<TD align=\"center\">") || !EndsWith(l, "</TD>") || l.size() < 24) return false;
      const std::string_view inner = l.substr(19, l.size() - 24);
      if (inner.find("<A ") != std::string_view::npos) return false;
      text = inner;
      return true;
    };
    for (size_t k = 1; k <= m_lines.size(); ++k) {
      std::string_view l = line(k);
      if (StartsWith(l, "<TR>")) l.remove_prefix(4);
      if (!StartsWith(l, "<TD align=\"center\"><A ") || !EndsWith(l, "</A></TD>")) continue;
      const std::vector<Tag> tags = ScanTags(l, false);
      const std::string* href = tags.size() > 1 && tags[1].name == "A" ? tags[1].attribute("href") : nullptr;
      if (!href) {
        page.troubles.push_back({static_cast<long>(k), "a table-of-contents entry that cannot be read"});
        continue;
      }
      TocEntry entry;
      entry.line = static_cast<long>(k);
      entry.href = *href;
      const size_t titleEnd = l.size() - 9;
      if (tags[1].end <= titleEnd) entry.title = l.substr(tags[1].end, titleEnd - tags[1].end);
      std::string folder, count, date;
      if (plainCell(k + 1, folder) && plainCell(k + 2, count) && plainCell(k + 3, date)) {
        entry.count = count;
        entry.date = date;
        entry.countLine = static_cast<long>(k + 2);
        entry.dateLine = static_cast<long>(k + 3);
      }
      page.tocEntries.push_back(std::move(entry));
    }
  }

  void slides(ParsedPage& page) const {
    std::map<long long, size_t> byNumber;
    for (size_t k = 1; k <= m_lines.size(); ++k) {
      std::string which;
      long long n = 0;
      std::string_view value;
      if (!SlideLine(line(k), which, n, value)) {
        if (StartsWith(line(k), "imag")) {
          page.troubles.push_back({static_cast<long>(k), "a slide-show line that cannot be read"});
        }
        continue;
      }
      auto found = byNumber.find(n);
      if (which.empty()) {
        if (found != byNumber.end()) {
          page.troubles.push_back({static_cast<long>(k), "slide-show picture " + std::to_string(n) + " is listed twice"});
          continue;
        }
        byNumber[n] = page.slides.size();
        page.slides.push_back({static_cast<long>(k), n, DecodeReferences(ScriptUnescape(value)), std::nullopt,
                               std::nullopt});
        continue;
      }
      if (found == byNumber.end()) {
        page.troubles.push_back({static_cast<long>(k), "a slide-show size for a picture not listed before it"});
        continue;
      }
      SlideEntry& entry = page.slides[found->second];
      (which == "x" ? entry.width : entry.height) = Number(value);
    }
    for (const SlideEntry& e : page.slides) {
      if (!e.width || !e.height) {
        page.troubles.push_back({e.line, "slide-show picture " + std::to_string(e.n) + " has no size that can be read"});
      }
    }
  }

  std::string m_text;
  std::vector<std::string_view> m_lines;
  std::vector<size_t> m_starts;  // the offsets where lines 2, 3, ... begin
};

}  // namespace

std::string DecodeReferences(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out += s[i];
      continue;
    }
    size_t p = i + 1;
    if (p < s.size() && s[p] == '#') {
      ++p;
      const bool hex = p < s.size() && (s[p] == 'x' || s[p] == 'X');
      if (hex) ++p;
      const size_t digits = p;
      unsigned long v = 0;
      while (p < s.size() && (hex ? HexValue(s[p]) >= 0 : IsDigit(s[p]))) {
        if (v <= 0x10FFFF) v = v * (hex ? 16 : 10) + static_cast<unsigned long>(hex ? HexValue(s[p]) : s[p] - '0');
        ++p;
      }
      if (p == digits) {
        out += '&';
        continue;
      }
      if (p < s.size() && s[p] == ';') ++p;
      AppendCodePoint(out, v);
      i = p - 1;
      continue;
    }
    static const std::pair<std::string_view, std::string_view> kNamed[] = {
        {"amp;", "&"}, {"lt;", "<"}, {"gt;", ">"}, {"quot;", "\""}, {"apos;", "'"}, {"nbsp;", "\u00A0"}};
    bool matched = false;
    for (const auto& [name, text] : kNamed) {
      if (s.substr(p, name.size()) == name) {
        out += text;
        i = p + name.size() - 1;
        matched = true;
        break;
      }
    }
    if (!matched) out += '&';
  }
  return out;
}

Address ParseAddress(std::string_view value) {
  // Leading and trailing blanks and controls go, and tabs and line breaks
  // inside; a backslash is a slash, as in a browser.
  while (!value.empty() && static_cast<unsigned char>(value.front()) <= 0x20) value.remove_prefix(1);
  while (!value.empty() && static_cast<unsigned char>(value.back()) <= 0x20) value.remove_suffix(1);
  std::string s;
  for (char c : value) {
    if (c == '\t' || c == '\n' || c == '\r') continue;
    s += c == '\\' ? '/' : c;
  }
  Address a;
  if (s.empty()) return a;
  if (s[0] == '#') {
    a.kind = AddressKind::Fragment;
    return a;
  }
  if (StartsWith(s, "//")) {
    a.kind = AddressKind::External;
    return a;
  }
  if (IsAlpha(s[0])) {
    size_t p = 1;
    while (p < s.size() && (IsAlpha(s[p]) || IsDigit(s[p]) || s[p] == '+' || s[p] == '-' || s[p] == '.')) ++p;
    if (p < s.size() && s[p] == ':') {
      a.kind = AddressKind::External;
      return a;
    }
  }
  const std::string_view path = std::string_view(s).substr(0, s.find_first_of("?#"));
  a.kind = StartsWith(path, "/") ? AddressKind::Absolute : AddressKind::Relative;
  size_t start = a.kind == AddressKind::Absolute ? 1 : 0;
  while (true) {
    const size_t slash = std::min(path.find('/', start), path.size());
    const std::string_view raw = path.substr(start, slash - start);
    std::string segment;
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '%' && i + 2 < raw.size() && HexValue(raw[i + 1]) >= 0 && HexValue(raw[i + 2]) >= 0) {
        segment += static_cast<char>(HexValue(raw[i + 1]) * 16 + HexValue(raw[i + 2]));
        i += 2;
      } else {
        segment += raw[i];
      }
    }
    // An encoded slash or NUL cannot be part of a file name; keeping it
    // would let one segment climb out of the folder.
    if (segment.find('/') != std::string::npos || segment.find('\0') != std::string::npos) {
      a.kind = AddressKind::Invalid;
      a.segments.clear();
      return a;
    }
    a.segments.push_back(std::move(segment));
    if (slash >= path.size()) break;
    start = slash + 1;
  }
  return a;
}

ParsedPage ParsePage(std::string_view bytes) { return Reader(bytes).parse(); }

}  // namespace pictavo
