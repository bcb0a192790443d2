#include "publish/location.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "text/chars.h"

namespace pictavo {

namespace {

constexpr std::string_view kExifPrefix("Exif\0\0", 6);
constexpr std::string_view kXmpPrefix("http://ns.adobe.com/xap/1.0/\0", 29);
constexpr std::string_view kExtendedXmpPrefix("http://ns.adobe.com/xmp/extension/\0", 35);
constexpr uint16_t kGpsPointerTag = 0x8825;

// The TIFF structure inside an EXIF payload, read with bounds checks only.
class Tiff {
 public:
  explicit Tiff(std::string_view payload) {
    if (payload.size() < kExifPrefix.size() + 8 || payload.substr(0, kExifPrefix.size()) != kExifPrefix) return;
    m_base = reinterpret_cast<const uint8_t*>(payload.data()) + kExifPrefix.size();
    m_size = payload.size() - kExifPrefix.size();
    if (m_base[0] == 'I' && m_base[1] == 'I') {
      m_little = true;
    } else if (!(m_base[0] == 'M' && m_base[1] == 'M')) {
      m_size = 0;
      return;
    }
    if (u16(2) != 42) m_size = 0;
  }
  bool ok() const { return m_size > 0; }
  size_t size() const { return m_size; }
  uint16_t u16(size_t at) const {
    if (at + 2 > m_size) return 0;
    return m_little ? static_cast<uint16_t>(m_base[at] | m_base[at + 1] << 8)
                    : static_cast<uint16_t>(m_base[at] << 8 | m_base[at + 1]);
  }
  uint32_t u32(size_t at) const {
    if (at + 4 > m_size) return 0;
    const uint32_t a = m_base[at], b = m_base[at + 1], c = m_base[at + 2], d = m_base[at + 3];
    return m_little ? (a | b << 8 | c << 16 | d << 24) : (a << 24 | b << 16 | c << 8 | d);
  }
  bool little() const { return m_little; }

 private:
  const uint8_t* m_base = nullptr;
  size_t m_size = 0;
  bool m_little = false;
};

size_t TypeSize(uint16_t type) {
  switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: case 13: return 4;
    case 5: case 10: case 12: return 8;
    default: return 0;
  }
}

struct GpsPointer {
  size_t ifd = 0;      // offset of the directory holding the pointer
  size_t entry = 0;    // offset of the pointer's entry
  uint16_t count = 0;  // entries of that directory
  bool wholeTable = false;  // entries and the next-directory offset lie inside the payload
  uint32_t target = 0;
};

// The GPS pointers of IFD0 and IFD1 (where cameras and editors put it).
std::vector<GpsPointer> FindGpsPointers(const Tiff& t) {
  std::vector<GpsPointer> out;
  size_t ifd = t.u32(4);
  for (int i = 0; i < 2 && ifd >= 8 && ifd + 2 <= t.size(); ++i) {
    const uint16_t count = t.u16(ifd);
    const bool whole = ifd + 2 + size_t{12} * count + 4 <= t.size();
    for (size_t k = 0; k < count; ++k) {
      const size_t entry = ifd + 2 + 12 * k;
      if (entry + 12 > t.size()) break;
      if (t.u16(entry) == kGpsPointerTag) out.push_back({ifd, entry, count, whole, t.u32(entry + 8)});
    }
    if (!whole) break;
    const size_t next = t.u32(ifd + 2 + size_t{12} * count);
    if (next <= ifd) break;  // directories run forward; anything else may loop
    ifd = next;
  }
  return out;
}

void Put16(uint8_t* p, uint16_t v, bool little) {
  p[little ? 0 : 1] = static_cast<uint8_t>(v);
  p[little ? 1 : 0] = static_cast<uint8_t>(v >> 8);
}

// The byte ranges of a GPS directory: its table and every value stored
// outside the table, clipped to the payload.
std::vector<std::pair<size_t, size_t>> GpsRanges(const Tiff& t, size_t at) {
  std::vector<std::pair<size_t, size_t>> out;
  if (at < 8 || at + 2 > t.size()) return out;
  const uint16_t count = t.u16(at);
  out.push_back({at, std::min(t.size(), at + 2 + size_t{12} * count + 4)});
  for (size_t k = 0; k < count; ++k) {
    const size_t entry = at + 2 + 12 * k;
    if (entry + 12 > t.size()) break;
    const size_t unit = TypeSize(t.u16(entry + 2));
    const size_t n = t.u32(entry + 4);
    if (unit == 0 || n > t.size() / unit) continue;
    const size_t bytes = unit * n;
    if (bytes <= 4) continue;
    const size_t value = t.u32(entry + 8);
    if (value >= t.size()) continue;
    out.push_back({value, std::min(t.size(), value + bytes)});
  }
  return out;
}

// --- XMP -------------------------------------------------------------------

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsLocationName(std::string_view qualified) {
  const size_t colon = qualified.rfind(':');
  const std::string local = LowerAscii(colon == std::string_view::npos ? qualified : qualified.substr(colon + 1));
  if (local.rfind("gps", 0) == 0) return true;
  static constexpr std::array<std::string_view, 11> kPlaces = {
      "city",          "state",         "country",         "countrycode", "location",    "sublocation",
      "provincestate", "countryname",   "locationcreated", "locationshown", "worldregion"};
  return std::find(kPlaces.begin(), kPlaces.end(), local) != kPlaces.end();
}

// A walk over the packet's markup that finds each location property as a
// byte range. Comments, processing instructions, CDATA and declarations are
// passed over whole; markup that does not end takes the rest of the packet.
class XmpScan {
 public:
  explicit XmpScan(std::string_view xml) : m_xml(xml) {}

  std::vector<std::pair<size_t, size_t>> ranges() {
    std::vector<std::pair<size_t, size_t>> out;
    size_t i = 0;
    const size_t n = m_xml.size();
    while (i < n) {
      const size_t lt = m_xml.find('<', i);
      if (lt == std::string_view::npos) break;
      if (startsAt(lt, "<!--")) {
        i = past(lt + 4, "-->");
      } else if (startsAt(lt, "<![CDATA[")) {
        i = past(lt + 9, "]]>");
      } else if (startsAt(lt, "<?")) {
        i = past(lt + 2, "?>");
      } else if (startsAt(lt, "<!") || startsAt(lt, "</")) {
        i = past(lt + 2, ">");
      } else {
        i = startTag(lt, out);
      }
    }
    return out;
  }

 private:
  bool startsAt(size_t at, std::string_view s) const { return m_xml.substr(at, s.size()) == s; }
  size_t past(size_t from, std::string_view end) const {
    const size_t at = m_xml.find(end, from);
    return at == std::string_view::npos ? m_xml.size() : at + end.size();
  }
  size_t nameEnd(size_t from) const {
    size_t i = from;
    while (i < m_xml.size() && !IsSpace(m_xml[i]) && m_xml[i] != '>' && m_xml[i] != '/' && m_xml[i] != '=') ++i;
    return i;
  }

  // The start tag at lt; returns where scanning goes on.
  size_t startTag(size_t lt, std::vector<std::pair<size_t, size_t>>& out) {
    const size_t n = m_xml.size();
    const size_t nameStop = nameEnd(lt + 1);
    const std::string_view name = m_xml.substr(lt + 1, nameStop - lt - 1);
    const bool location = !name.empty() && IsLocationName(name);
    size_t i = nameStop;
    bool selfClosing = false;
    while (true) {
      while (i < n && IsSpace(m_xml[i])) ++i;
      if (i >= n) {
        out.push_back({lt, n});
        return n;
      }
      if (m_xml[i] == '>') {
        ++i;
        break;
      }
      if (m_xml[i] == '/') {
        selfClosing = true;
        ++i;
        continue;
      }
      const size_t attrStart = i;
      const size_t attrStop = nameEnd(i);
      if (attrStop == i) {  // a stray '=' or the like: step over it
        ++i;
        continue;
      }
      i = attrStop;
      while (i < n && IsSpace(m_xml[i])) ++i;
      if (i >= n || m_xml[i] != '=') continue;  // an attribute without a value
      ++i;
      while (i < n && IsSpace(m_xml[i])) ++i;
      if (i >= n || (m_xml[i] != '"' && m_xml[i] != '\'')) continue;
      const size_t close = m_xml.find(m_xml[i], i + 1);
      const size_t valueEnd = close == std::string_view::npos ? n : close + 1;
      if (!location && IsLocationName(m_xml.substr(attrStart, attrStop - attrStart))) {
        out.push_back({attrStart, valueEnd});
      }
      i = valueEnd;
    }
    if (!location) return i;
    if (selfClosing) {
      out.push_back({lt, i});
      return i;
    }
    // The element's end: the matching end tag, same-named elements nested.
    const std::string open = "<" + std::string(name);
    const std::string shut = "</" + std::string(name);
    int depth = 1;
    size_t j = i;
    while (depth > 0) {
      const size_t next = m_xml.find('<', j);
      if (next == std::string_view::npos) {
        j = n;
        break;
      }
      if (startsAt(next, shut) && (next + shut.size() >= n || !IsNameChar(m_xml[next + shut.size()]))) {
        --depth;
        j = past(next, ">");
      } else if (startsAt(next, open) && (next + open.size() >= n || !IsNameChar(m_xml[next + open.size()]))) {
        const size_t end = past(next, ">");
        if (end >= 2 && m_xml[end - 2] != '/') ++depth;
        j = end;
      } else if (startsAt(next, "<!--")) {
        j = past(next + 4, "-->");
      } else if (startsAt(next, "<![CDATA[")) {
        j = past(next + 9, "]]>");
      } else {
        j = next + 1;
      }
      if (j >= n) break;
    }
    out.push_back({lt, std::min(j, n)});
    return std::min(j, n);
  }

  static bool IsNameChar(char c) { return !IsSpace(c) && c != '>' && c != '/'; }

  std::string_view m_xml;
};

}  // namespace

bool HasExifLocation(std::string_view payload) {
  const Tiff t(payload);
  return t.ok() && !FindGpsPointers(t).empty();
}

bool StripExifLocation(std::string& payload) {
  const Tiff t(payload);
  if (!t.ok()) return false;
  const std::vector<GpsPointer> pointers = FindGpsPointers(t);
  if (pointers.empty()) return false;
  std::vector<std::pair<size_t, size_t>> zero;
  for (const GpsPointer& p : pointers) {
    for (const auto& r : GpsRanges(t, p.target)) zero.push_back(r);
  }
  auto* base = reinterpret_cast<uint8_t*>(payload.data()) + kExifPrefix.size();
  // Later entries first, so that an earlier entry's offset stays right.
  for (auto it = pointers.rbegin(); it != pointers.rend(); ++it) {
    if (it->wholeTable && it->count > 0) {
      // Entries after the pointer move up by one, the next-directory offset
      // with them; the freed twelve bytes become zeros.
      const size_t tableEnd = it->ifd + 2 + size_t{12} * it->count + 4;
      std::memmove(base + it->entry, base + it->entry + 12, tableEnd - it->entry - 12);
      std::memset(base + tableEnd - 12, 0, 12);
      Put16(base + it->ifd, static_cast<uint16_t>(it->count - 1), t.little());
    } else {
      std::memset(base + it->entry, 0, 12);  // a cut-off table: the entry reads as nothing
    }
  }
  for (const auto& [from, to] : zero) std::memset(base + from, 0, to - from);
  return true;
}

bool HasXmpLocation(std::string_view payload) {
  if (payload.substr(0, kXmpPrefix.size()) != kXmpPrefix) return false;
  return !XmpScan(payload.substr(kXmpPrefix.size())).ranges().empty();
}

bool StripXmpLocation(std::string& payload) {
  if (payload.substr(0, kXmpPrefix.size()) != kXmpPrefix) return false;
  bool changed = false;
  // Blanking one property cannot make another appear, but a packet that is
  // not well-formed may read differently once blanked: go again until none.
  for (int round = 0; round < 8; ++round) {
    const std::vector<std::pair<size_t, size_t>> ranges =
        XmpScan(std::string_view(payload).substr(kXmpPrefix.size())).ranges();
    if (ranges.empty()) return changed;
    for (const auto& [from, to] : ranges) {
      std::fill(payload.begin() + static_cast<long>(kXmpPrefix.size() + from),
                payload.begin() + static_cast<long>(kXmpPrefix.size() + to), ' ');
    }
    changed = true;
  }
  // Still not clean: the packet goes blank as a whole.
  std::fill(payload.begin() + static_cast<long>(kXmpPrefix.size()), payload.end(), ' ');
  return true;
}

SegmentKind KindOfSegment(int marker, std::string_view payload) {
  if (marker != 0xE1) return SegmentKind::Other;
  if (payload.substr(0, kExifPrefix.size()) == kExifPrefix) return SegmentKind::Exif;
  if (payload.substr(0, kXmpPrefix.size()) == kXmpPrefix) return SegmentKind::Xmp;
  if (payload.substr(0, kExtendedXmpPrefix.size()) == kExtendedXmpPrefix) return SegmentKind::ExtendedXmp;
  return SegmentKind::Other;
}

bool StripSegmentsLocation(std::vector<JpegSegment>& segments) {
  bool changed = false;
  std::vector<JpegSegment> kept;
  kept.reserve(segments.size());
  for (JpegSegment& s : segments) {
    switch (KindOfSegment(s.marker, s.data)) {
      case SegmentKind::Exif: changed = StripExifLocation(s.data) || changed; break;
      case SegmentKind::Xmp: changed = StripXmpLocation(s.data) || changed; break;
      case SegmentKind::ExtendedXmp: changed = true; continue;
      case SegmentKind::Other: break;
    }
    kept.push_back(std::move(s));
  }
  segments = std::move(kept);
  return changed;
}

Status StripJpegHeadLocation(std::string_view bytes, bool whole, std::string& head, size_t& replaced,
                             HeadResult& result) {
  head.clear();
  replaced = 0;
  result = HeadResult::Unchanged;
  const auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  const auto damaged = [](const char* why) { return Status::Failure(ErrorCode::Damaged, why); };
  const auto more = [&](const char* why) {
    if (whole) return damaged(why);
    result = HeadResult::NeedMore;
    return Status();
  };
  if (bytes.size() < 2) return more("not a JPEG file");
  if (at(0) != 0xFF || at(1) != 0xD8) return damaged("not a JPEG file");
  bool changed = false;
  head.assign(bytes.substr(0, 2));
  size_t i = 2;
  while (true) {
    if (i >= bytes.size()) return more("no picture data");
    if (at(i) != 0xFF) return damaged("damaged header");
    size_t m = i;
    while (m < bytes.size() && at(m) == 0xFF) ++m;  // fill bytes before a marker
    if (m >= bytes.size()) return more("no picture data");
    const uint8_t marker = at(m);
    if (marker == 0xDA) {
      replaced = i;
      if (!changed) {
        head.clear();
        return {};
      }
      result = HeadResult::Rewritten;
      return {};
    }
    if (marker == 0xD9 || marker == 0x00) return damaged("no picture data");
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
      head.append(bytes.substr(i, m + 1 - i));
      i = m + 1;
      continue;
    }
    if (m + 3 > bytes.size()) return more("no picture data");
    const size_t length = static_cast<size_t>(at(m + 1)) << 8 | at(m + 2);
    if (length < 2) return damaged("damaged header");
    if (m + 1 + length > bytes.size()) return more("no picture data");
    std::string payload(bytes.substr(m + 3, length - 2));
    bool drop = false;
    switch (KindOfSegment(marker, payload)) {
      case SegmentKind::Exif: changed = StripExifLocation(payload) || changed; break;
      case SegmentKind::Xmp: changed = StripXmpLocation(payload) || changed; break;
      case SegmentKind::ExtendedXmp: drop = changed = true; break;
      case SegmentKind::Other: break;
    }
    if (!drop) {
      head.append(bytes.substr(i, m + 3 - i));  // fill, marker and length as they were
      head.append(payload);
    }
    i = m + 1 + length;
  }
}

}  // namespace pictavo
