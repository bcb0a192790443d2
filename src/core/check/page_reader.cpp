#include "check/page_reader.h"

#include <algorithm>
#include <deque>
#include <functional>
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

bool IsCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsCp932Trail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
bool InReference(char c) { return c == '#' || c == ';' || IsDigit(c); }

// The last place where the bytes can be cut so that decoding the two parts
// apart gives the text decoding them together gives: between characters,
// and not inside a "&#N;" reference (at most 11 bytes). 0 when there is none yet.
size_t SafeCut(std::string_view s) {
  size_t cut = 0, i = 0, lastAmp = std::string_view::npos;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b == '&') lastAmp = i;
    if (IsCp932Lead(b)) {
      if (i + 1 >= s.size()) break;  // its partner is still to come
      i += IsCp932Trail(static_cast<unsigned char>(s[i + 1])) ? 2 : 1;
    } else {
      ++i;
    }
    if (i < s.size() && (!InReference(s[i]) || lastAmp == std::string_view::npos || i - lastAmp > 11)) cut = i;
  }
  return cut;
}

// The page's text, UTF-8 as Cp932ToUtf8 gives it, a character at a time,
// with its lines: every line is handed to `onLine` when it ends, its first
// kPageLineLimit bytes kept.
struct Line {
  long number = 0;
  std::string text;
  bool tooLong = false;
  std::string tail;  // the last bytes of a line too long to keep

  bool startsWith(std::string_view p) const { return StartsWith(text, p); }
  bool endsWith(std::string_view p) const { return EndsWith(tooLong ? tail : text, p); }
};

class TextSource {
 public:
  TextSource(PageSource& source, std::function<void(Line&&)> onLine) : m_source(source), m_onLine(std::move(onLine)) {}

  int peek(size_t k = 0) {
    while (m_pos + k >= m_text.size()) {
      if (!fill()) return -1;
    }
    return static_cast<unsigned char>(m_text[m_pos + k]);
  }

  int get() {
    const int c = peek();
    if (c < 0) return c;
    ++m_pos;
    if (c == '\n' && m_afterCr) {
      m_afterCr = false;
      return c;
    }
    m_afterCr = c == '\r';
    if (c == '\r' || c == '\n') {
      endLine();
    } else {
      m_lineHasText = true;
      if (m_line.text.size() < kPageLineLimit) {
        m_line.text += static_cast<char>(c);
      } else {
        m_line.tooLong = true;
        m_line.tail += static_cast<char>(c);
        if (m_line.tail.size() > 64) m_line.tail.erase(0, 32);
      }
    }
    return c;
  }

  // The line the next character is on, and whether it is already too long to keep.
  long line() const { return m_line.number; }
  bool lineTooLong() const { return m_line.tooLong; }

  // Reads to the end; the last line, when text follows the last line end, is handed over too.
  void drain() {
    while (get() >= 0) {
    }
    if (m_lineHasText) endLine();
  }

 private:
  bool fill() {
    if (m_end) return false;
    m_text.erase(0, m_pos);
    m_pos = 0;
    while (true) {
      const size_t old = m_raw.size();
      m_raw.resize(old + kReadChunk);
      const size_t got = m_source.read(m_raw.data() + old, kReadChunk);
      m_raw.resize(old + got);
      if (got == 0) {
        m_end = true;
        m_text += Cp932ToUtf8(m_raw, true);
        m_raw.clear();
        return m_pos < m_text.size();
      }
      const size_t cut = SafeCut(m_raw);
      if (cut == 0) continue;
      m_text += Cp932ToUtf8(std::string_view(m_raw).substr(0, cut), true);
      m_raw.erase(0, cut);
      if (m_pos < m_text.size()) return true;
    }
  }

  void endLine() {
    const long next = m_line.number + 1;
    if (m_line.tooLong && m_line.tail.size() > 32) m_line.tail.erase(0, m_line.tail.size() - 32);
    m_onLine(std::move(m_line));
    m_line = Line{};
    m_line.number = next;
    m_lineHasText = false;
  }

  static constexpr size_t kReadChunk = 64 * 1024;
  PageSource& m_source;
  std::function<void(Line&&)> m_onLine;
  std::string m_raw;   // bytes read, not yet decoded
  std::string m_text;  // decoded, from m_pos on not yet taken
  size_t m_pos = 0;
  bool m_end = false;
  bool m_afterCr = false;
  bool m_lineHasText = false;
  Line m_line{1, {}, false, {}};
};

bool SameCaseless(TextSource& in, std::string_view lowerNeedle) {
  for (size_t k = 0; k < lowerNeedle.size(); ++k) {
    const int c = in.peek(k);
    if (c < 0 || Lower(static_cast<char>(c)) != lowerNeedle[k]) return false;
  }
  return true;
}

// ScanTags over a stream, for the addresses: the same tokenising, with
// comments, scripts and styles passed over, holding one tag at a time.
class AddressScanner {
 public:
  using Emit = std::function<bool(PageAddress&&)>;
  using Trouble = std::function<bool(PageTrouble&&)>;
  AddressScanner(TextSource& in, Emit emit, Trouble trouble)
      : m_in(in), m_emit(std::move(emit)), m_trouble(std::move(trouble)) {}

  // The line of the tag being read, 0 between tags.
  long openTagLine() const { return m_openLine; }

  // False when a receiver stopped the reading.
  bool run() {
    while (true) {
      m_openLine = 0;
      int c;
      while ((c = m_in.get()) >= 0 && c != '<') {
      }
      if (c < 0) return true;
      const long line = m_in.line();
      m_openLine = line;
      if (m_in.peek() < 0) return true;
      if (m_in.peek() == '!' && m_in.peek(1) == '-' && m_in.peek(2) == '-') {
        for (int k = 0; k < 3; ++k) m_in.get();
        while (!(m_in.peek() == '-' && m_in.peek(1) == '-' && m_in.peek(2) == '>')) {
          if (m_in.get() < 0) return true;
        }
        for (int k = 0; k < 3; ++k) m_in.get();
        continue;
      }
      const int first = m_in.peek();
      bool closing = false;
      if (first == '/') {
        closing = true;
        m_in.get();
      }
      if (m_in.peek() < 0 || !IsAlpha(static_cast<char>(m_in.peek()))) {
        if (first == '!' || first == '?') {
          while ((c = m_in.get()) >= 0 && c != '>') {
          }
          if (c < 0) return true;
        }
        continue;
      }
      std::string name;
      bool longName = false;
      while (!IsTagEnd(m_in.peek())) {
        const char ch = static_cast<char>(m_in.get());
        if (name.size() < 64) {
          name += Upper(ch);
        } else {
          longName = true;
        }
      }
      std::vector<std::pair<PageAddress, bool>> found;  // with whether it was too long to keep
      bool complete = false;
      while (true) {
        while (IsSpace(Char(m_in.peek())) || m_in.peek() == '/') m_in.get();
        if (m_in.peek() < 0) break;
        if (m_in.peek() == '>') {
          m_in.get();
          complete = true;
          break;
        }
        std::string attribute(1, Lower(static_cast<char>(m_in.get())));
        while (!IsTagEnd(m_in.peek()) && m_in.peek() != '=') {
          const char ch = static_cast<char>(m_in.get());
          if (attribute.size() <= 16) attribute += Lower(ch);
        }
        while (IsSpace(Char(m_in.peek()))) m_in.get();
        std::string value;
        bool longValue = false;
        auto take = [&](char ch) {
          if (value.size() < kPageAddressLimit) {
            value += ch;
          } else {
            longValue = true;
          }
        };
        if (m_in.peek() == '=') {
          m_in.get();
          while (IsSpace(Char(m_in.peek()))) m_in.get();
          const int q = m_in.peek();
          if (q == '"' || q == '\'') {
            m_in.get();
            while ((c = m_in.get()) >= 0 && c != q) take(static_cast<char>(c));
            if (c < 0) break;
          } else {
            while (m_in.peek() >= 0 && !IsSpace(Char(m_in.peek())) && m_in.peek() != '>') {
              take(static_cast<char>(m_in.get()));
            }
          }
        }
        if (closing || !(attribute == "href" || attribute == "src" || attribute == "background" ||
                         attribute == "action")) {
          continue;
        }
        found.push_back({{line, name, attribute, longValue ? std::string() : DecodeReferences(value), false}, longValue});
      }
      if (!complete) return true;
      m_openLine = 0;
      for (auto& [a, tooLong] : found) {
        if (!(tooLong ? m_trouble({line, "an address longer than 64 KB, not checked"}) : m_emit(std::move(a)))) {
          return false;
        }
      }
      if (closing || longName || (name != "SCRIPT" && name != "STYLE")) continue;
      const std::string closer = name == "SCRIPT" ? "</script" : "</style";
      while (!SameCaseless(m_in, closer)) {
        if (m_in.get() < 0) return true;
      }
    }
  }

 private:
  static char Char(int c) { return c < 0 ? 'x' : static_cast<char>(c); }
  static bool IsTagEnd(int c) { return c < 0 || IsSpace(static_cast<char>(c)) || c == '/' || c == '>'; }

  TextSource& m_in;
  Emit m_emit;
  Trouble m_trouble;
  long m_openLine = 0;
};

// The kind from the head lines; the frame list page is told from the table
// page by the target of its links, which can be on any line.
PageKind KindOf(PageSource& source) {
  std::string second, third;
  bool thirdLong = false;
  std::string thirdTail;
  long lines = 0;
  TextSource in(source, [&](Line&& l) {
    ++lines;
    if (l.number == 2) second = std::move(l.text);
    if (l.number == 3) {
      third = std::move(l.text);
      thirdLong = l.tooLong;
      thirdTail = std::move(l.tail);
    }
  });
  static constexpr std::string_view kTarget = "target=\"h_main\"";
  std::string window;
  bool target = false;
  auto read = [&](bool toTheEnd) {
    int c;
    while ((toTheEnd || lines < 3) && !target && (c = in.get()) >= 0) {
      window += static_cast<char>(c);
      if (window.size() > kTarget.size()) window.erase(0, 1);
      target = window == kTarget;
    }
  };
  read(false);
  if (lines < 3) in.drain();
  if (!IsAlbumPage(second)) return PageKind::NotOurs;
  if (!thirdLong && third == "<!-- FRAME TOP PAGE -->") return PageKind::TocFrameset;
  if (!thirdLong && third == "<!--  -->") return PageKind::SlideShow;
  if (!StartsWith(third, "<!-- FILE=") || !EndsWith(thirdLong ? thirdTail : third, " -->")) return PageKind::Unknown;
  if (thirdLong || third.size() != 17 || !Number(third.substr(10, 3))) return PageKind::Album;
  // The table of contents writes only the count.
  read(true);
  return target ? PageKind::TocList : PageKind::TocTable;
}

// The parts of the page, line by line, handed on as soon as they are known:
// an address once the cell or entry of its line is known, an entry once the
// three cells after it are, the slides at the end with their sizes.
class PageParser {
 public:
  PageParser(PageSource& source, PageKind kind, PageVisitor& visitor)
      : m_kind(kind),
        m_visitor(visitor),
        m_in(source, [this](Line&& l) { onLine(std::move(l)); }),
        m_scanner(
            m_in, [this](PageAddress&& a) { return onAddress(std::move(a)); },
            [this](PageTrouble&& t) { return say(std::move(t), kOrderLongAddress); }) {}

  void run() {
    if (m_scanner.run()) m_in.drain();
    while (!m_window.empty() && m_going) resolveOldest();
    if (!m_going) return;
    if (m_kind == PageKind::Unknown) {
      // Line 3 tells the kinds apart; a page that ends before it is damaged as a whole.
      say({m_lineCount >= 3 ? 3 : 0, "the head of the page is not one this program writes"}, kOrderHead);
    }
    if (!m_lastIsClosing) say({m_lastNonEmpty, "the page ends before its closing </HTML> line"}, kOrderEnd);
    for (const SlideEntry& e : m_slides) {
      if (!e.width || !e.height) {
        say({e.line, "slide-show picture " + std::to_string(e.n) + " has no size that can be read"}, kOrderSlideSize);
      }
    }
    for (const SlideEntry& e : m_slides) {
      if (m_going) m_going = m_visitor.slide(e);
    }
    if (m_going) m_visitor.end(m_lineCount);
  }

  bool going() const { return m_going; }

  static constexpr int kOrderHead = 0, kOrderEnd = 1, kOrderLongAddress = 2, kOrderSlideLine = 3,
                       kOrderSlideSize = 4, kOrderCell = 5, kOrderEntry = 6;

 private:
  struct Pending {
    Line line;
    std::optional<TocEntry> entry;
  };

  bool say(PageTrouble&& t, int order) {
    if (m_going) m_going = m_visitor.trouble(t, order);
    return m_going;
  }

  bool cellsToo() const {
    return m_kind == PageKind::Album || m_kind == PageKind::TocTable || m_kind == PageKind::TocList;
  }
  bool toc() const { return m_kind == PageKind::TocTable || m_kind == PageKind::TocList; }

  void onLine(Line&& l) {
    m_lineCount = l.number;
    if (!l.text.empty()) {
      m_lastNonEmpty = l.number;
      m_lastIsClosing = !l.tooLong && l.text == "</HTML>";
    }
    std::vector<std::string> handled;
    if (!m_going) return;
    if (m_kind == PageKind::SlideShow) slideLine(l);
    if (cellsToo() && !l.tooLong) cellLine(l, handled);
    Pending p{std::move(l), std::nullopt};
    if (toc() && !p.line.tooLong) p.entry = entryLine(p.line, handled);
    const long number = p.line.number;
    // A long line is no cell of the entries before it: they can be told now.
    if (p.line.tooLong) {
      while (!m_window.empty()) resolveOldest();
    }
    m_window.push_back(std::move(p));
    if (m_window.size() > 3) resolveOldest();
    flushQueue(handled);
    if (m_scanner.openTagLine() == number) {
      m_openHandled = std::move(handled);
    }
  }

  void flushQueue(const std::vector<std::string>& handled) {
    for (auto& a : m_queue) {
      a.inCell = std::find(handled.begin(), handled.end(), a.value) != handled.end();
      if (m_going) m_going = m_visitor.address(a);
    }
    m_queue.clear();
  }

  bool onAddress(PageAddress&& a) {
    if (a.line < m_in.line()) {
      // The tag began on a line already ended.
      a.inCell = std::find(m_openHandled.begin(), m_openHandled.end(), a.value) != m_openHandled.end();
      m_going = m_going && m_visitor.address(a);
    } else if (m_in.lineTooLong()) {
      // A line too long to keep is no cell: its addresses need not wait.
      flushQueue({});
      m_going = m_going && m_visitor.address(a);
    } else {
      m_queue.push_back(std::move(a));
    }
    return m_going;
  }

  // "<TD align="center" valign="middle"><A ...><IMG ...></A></TD>", on the
  // catalogue page with two leading blanks, in the list page after "<TR>".
  void cellLine(const Line& line, std::vector<std::string>& handled) {
    std::string_view l = line.text;
    while (!l.empty() && l.front() == ' ') l.remove_prefix(1);
    if (StartsWith(l, "<TR>")) l.remove_prefix(4);
    if (!StartsWith(l, "<TD align=\"center\" valign=\"middle\"><A ")) return;
    const std::vector<Tag> tags = ScanTags(l, false);
    const Tag* a = tags.size() > 1 ? &tags[1] : nullptr;
    const Tag* img = tags.size() > 2 ? &tags[2] : nullptr;
    const std::string* href = a && a->name == "A" ? a->attribute("href") : nullptr;
    const std::string* src = img && img->name == "IMG" ? img->attribute("src") : nullptr;
    if (!href || !src) {
      say({line.number, "a picture cell that cannot be read"}, kOrderCell);
      return;
    }
    PictureCell cell{line.number, *href, *src, std::nullopt, std::nullopt};
    if (const std::string* w = img->attribute("width")) cell.width = Number(*w);
    if (const std::string* h = img->attribute("height")) cell.height = Number(*h);
    handled.push_back(cell.href);
    handled.push_back(cell.src);
    if (m_going) m_going = m_visitor.cell(cell);
  }

  // "<TD align="center"><A href="...">title</A></TD>", after "<TR>" on the
  // list page; on the table without pictures three plain cells follow it:
  // folder, count and date.
  std::optional<TocEntry> entryLine(const Line& line, std::vector<std::string>& handled) {
    std::string_view l = line.text;
    if (StartsWith(l, "<TR>")) l.remove_prefix(4);
    if (!StartsWith(l, "<TD align=\"center\"><A ") || !EndsWith(l, "</A></TD>")) return std::nullopt;
    const std::vector<Tag> tags = ScanTags(l, false);
    const std::string* href = tags.size() > 1 && tags[1].name == "A" ? tags[1].attribute("href") : nullptr;
    if (!href) {
      say({line.number, "a table-of-contents entry that cannot be read"}, kOrderEntry);
      return std::nullopt;
    }
    TocEntry entry;
    entry.line = line.number;
    entry.href = *href;
    const size_t titleEnd = l.size() - 9;
    if (tags[1].end <= titleEnd) entry.title = l.substr(tags[1].end, titleEnd - tags[1].end);
    handled.push_back(entry.href);
    return entry;
  }

  static bool PlainCell(const Pending* p, std::string& text) {
    if (!p || p->line.tooLong) return false;
    const std::string_view l = p->line.text;
    if (!StartsWith(l, "<TD align=\"center\">") || !EndsWith(l, "</TD>") || l.size() < 24) return false;
    const std::string_view inner = l.substr(19, l.size() - 24);
    if (inner.find("<A ") != std::string_view::npos) return false;
    text = inner;
    return true;
  }

  void resolveOldest() {
    Pending& p = m_window.front();
    if (p.entry && m_going) {
      // The window holds the lines after it that are known; a missing one is no cell.
      auto at = [&](size_t k) -> const Pending* {
        return k < m_window.size() && m_window[k].line.number == p.line.number + static_cast<long>(k) ? &m_window[k]
                                                                                                      : nullptr;
      };
      std::string folder, count, date;
      if (PlainCell(at(1), folder) && PlainCell(at(2), count) && PlainCell(at(3), date)) {
        p.entry->count = count;
        p.entry->date = date;
        p.entry->countLine = p.line.number + 2;
        p.entry->dateLine = p.line.number + 3;
      }
      m_going = m_visitor.tocEntry(*p.entry);
    }
    m_window.pop_front();
  }

  void slideLine(const Line& line) {
    std::string which;
    long long n = 0;
    std::string_view value;
    if (line.tooLong || !SlideLine(line.text, which, n, value)) {
      if (line.startsWith("imag")) say({line.number, "a slide-show line that cannot be read"}, kOrderSlideLine);
      return;
    }
    auto found = m_byNumber.find(n);
    if (which.empty()) {
      if (found != m_byNumber.end()) {
        say({line.number, "slide-show picture " + std::to_string(n) + " is listed twice"}, kOrderSlideLine);
        return;
      }
      std::string name = DecodeReferences(ScriptUnescape(value));
      m_slideBytes += name.size() + 96;
      if (m_slideBytes > kPageSlideLimit) {
        if (!m_slidesFull) say({line.number, "too many slide-show pictures to check; the rest are not checked"},
                               kOrderSlideLine);
        m_slidesFull = true;
        return;
      }
      m_byNumber[n] = m_slides.size();
      m_slides.push_back({line.number, n, std::move(name), std::nullopt, std::nullopt});
      return;
    }
    if (found == m_byNumber.end()) {
      if (!m_slidesFull) say({line.number, "a slide-show size for a picture not listed before it"}, kOrderSlideLine);
      return;
    }
    SlideEntry& entry = m_slides[found->second];
    (which == "x" ? entry.width : entry.height) = Number(value);
  }

  PageKind m_kind;
  PageVisitor& m_visitor;
  TextSource m_in;
  AddressScanner m_scanner;
  bool m_going = true;
  long m_lineCount = 0, m_lastNonEmpty = 0;
  bool m_lastIsClosing = false;
  std::deque<Pending> m_window;
  std::vector<PageAddress> m_queue;  // addresses of the line being read
  std::vector<std::string> m_openHandled;
  std::map<long long, size_t> m_byNumber;
  std::vector<SlideEntry> m_slides;
  size_t m_slideBytes = 0;
  bool m_slidesFull = false;
};

class Gatherer : public PageVisitor {
 public:
  ParsedPage page;
  std::vector<std::pair<int, PageTrouble>> troubles;
  bool begin(PageKind kind) override {
    page.kind = kind;
    return true;
  }
  bool trouble(const PageTrouble& t, int order) override {
    troubles.emplace_back(order, t);
    return true;
  }
  bool cell(const PictureCell& c) override {
    page.cells.push_back(c);
    return true;
  }
  bool tocEntry(const TocEntry& e) override {
    page.tocEntries.push_back(e);
    return true;
  }
  bool slide(const SlideEntry& s) override {
    page.slides.push_back(s);
    return true;
  }
  bool address(const PageAddress& a) override {
    page.addresses.push_back(a);
    return true;
  }
  void end(long lineCount) override {
    page.lineCount = lineCount;
    std::stable_sort(troubles.begin(), troubles.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [order, t] : troubles) page.troubles.push_back(std::move(t));
  }
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

size_t MemoryPageSource::read(char* buffer, size_t size) {
  const size_t n = std::min({size, m_piece, m_bytes.size() - m_pos});
  std::copy_n(m_bytes.data() + m_pos, n, buffer);
  m_pos += n;
  return n;
}

PageKind ReadPage(PageSource& source, PageVisitor& visitor) {
  const PageKind kind = KindOf(source);
  if (kind == PageKind::NotOurs || !visitor.begin(kind) || !source.rewind()) return kind;
  PageParser(source, kind, visitor).run();
  return kind;
}

ParsedPage ParsePage(PageSource& source) {
  Gatherer g;
  const PageKind kind = ReadPage(source, g);
  if (kind == PageKind::NotOurs) {
    // Only the lines are counted then.
    ParsedPage page;
    if (source.rewind()) {
      TextSource in(source, [&](Line&& l) { page.lineCount = l.number; });
      in.drain();
    }
    return page;
  }
  return std::move(g.page);
}

ParsedPage ParsePage(std::string_view bytes) {
  MemoryPageSource source(bytes);
  return ParsePage(source);
}

}  // namespace pictavo
