#include "image/exif.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace pictavo {

namespace {

constexpr uint32_t kShort = 3;
constexpr uint32_t kLong = 4;
constexpr size_t kTiffStart = 6;  // after "Exif\0\0"

struct Tiff {
  const uint8_t* p = nullptr;
  size_t n = 0;
  bool little = false;

  bool in(size_t offset, size_t length) const { return offset <= n && length <= n - offset; }
  uint32_t u16(size_t o) const {
    return little ? static_cast<uint32_t>(p[o] | (p[o + 1] << 8)) : static_cast<uint32_t>((p[o] << 8) | p[o + 1]);
  }
  uint32_t u32(size_t o) const {
    const uint32_t a = p[o], b = p[o + 1], c = p[o + 2], d = p[o + 3];
    return little ? (a | (b << 8) | (c << 16) | (d << 24)) : ((a << 24) | (b << 16) | (c << 8) | d);
  }
};

struct Ifd {
  size_t offset = 0;
  uint32_t count = 0;
  size_t nextAt = 0;  // where the offset of the next IFD is stored
};

std::optional<Ifd> ReadIfd(const Tiff& t, size_t offset) {
  if (offset == 0 || !t.in(offset, 2)) return std::nullopt;
  Ifd ifd;
  ifd.offset = offset;
  ifd.count = t.u16(offset);
  if (!t.in(offset + 2, static_cast<size_t>(ifd.count) * 12 + 4)) return std::nullopt;
  ifd.nextAt = offset + 2 + static_cast<size_t>(ifd.count) * 12;
  return ifd;
}

// The entry of `tag` holding one SHORT or LONG, by its position.
std::optional<size_t> ScalarEntry(const Tiff& t, const Ifd& ifd, uint32_t tag) {
  for (uint32_t i = 0; i < ifd.count; ++i) {
    const size_t e = ifd.offset + 2 + static_cast<size_t>(i) * 12;
    if (t.u16(e) != tag) continue;
    const uint32_t type = t.u16(e + 2);
    if ((type != kShort && type != kLong) || t.u32(e + 4) != 1) return std::nullopt;
    return e;
  }
  return std::nullopt;
}

uint32_t ScalarValue(const Tiff& t, size_t entry) {
  return t.u16(entry + 2) == kShort ? t.u16(entry + 8) : t.u32(entry + 8);
}

struct Layout {
  Tiff tiff;
  Ifd ifd0;
  std::optional<size_t> orientation, pixelX, pixelY;
  bool ifd1Linked = false;
  // The JPEG thumbnail of IFD1: its two entries and where its bytes lie.
  std::optional<size_t> thumbOffsetEntry, thumbLengthEntry;
  uint32_t thumbOffset = 0, thumbLength = 0;
  bool thumbReadable = false;
  size_t structureEnd = 0;  // past the last IFD read
  void saw(const Ifd& ifd) { structureEnd = std::max(structureEnd, ifd.nextAt + 4); }
  // The places a rewrite writes must not overlap (a payload may make its
  // IFDs share bytes); a rewrite gives up on one that does.
  bool writesApart() const {
    std::vector<std::pair<size_t, size_t>> ranges = {{ifd0.nextAt, 4}};
    for (const auto& e : {orientation, pixelX, pixelY, thumbOffsetEntry, thumbLengthEntry}) {
      if (e) ranges.emplace_back(*e, 12);
    }
    std::sort(ranges.begin(), ranges.end());
    for (size_t i = 1; i < ranges.size(); ++i) {
      if (ranges[i - 1].first + ranges[i - 1].second > ranges[i].first) return false;
    }
    return true;
  }
};

std::optional<Layout> Parse(std::string_view payload) {
  if (payload.size() < kTiffStart + 8 || std::memcmp(payload.data(), "Exif\0\0", 6) != 0) return std::nullopt;
  Layout l;
  Tiff& t = l.tiff;
  t.p = reinterpret_cast<const uint8_t*>(payload.data()) + kTiffStart;
  t.n = payload.size() - kTiffStart;
  if (t.p[0] == 'I' && t.p[1] == 'I') {
    t.little = true;
  } else if (!(t.p[0] == 'M' && t.p[1] == 'M')) {
    return std::nullopt;
  }
  if (t.u16(2) != 42) return std::nullopt;
  const auto ifd0 = ReadIfd(t, t.u32(4));
  if (!ifd0) return std::nullopt;
  l.ifd0 = *ifd0;
  l.saw(l.ifd0);
  if (const auto e = ScalarEntry(t, l.ifd0, 0x0112); e && t.u16(*e + 2) == kShort) l.orientation = e;
  if (const auto e = ScalarEntry(t, l.ifd0, 0x8769)) {
    if (const auto exif = ReadIfd(t, ScalarValue(t, *e))) {
      l.saw(*exif);
      l.pixelX = ScalarEntry(t, *exif, 0xA002);
      l.pixelY = ScalarEntry(t, *exif, 0xA003);
    }
  }
  const uint32_t next = t.u32(l.ifd0.nextAt);
  l.ifd1Linked = next != 0;
  if (const auto ifd1 = ReadIfd(t, next)) {
    l.saw(*ifd1);
    const auto compression = ScalarEntry(t, *ifd1, 0x0103);
    const bool jpeg = !compression || ScalarValue(t, *compression) == 6;
    l.thumbOffsetEntry = ScalarEntry(t, *ifd1, 0x0201);
    l.thumbLengthEntry = ScalarEntry(t, *ifd1, 0x0202);
    if (jpeg && l.thumbOffsetEntry && l.thumbLengthEntry) {
      l.thumbOffset = ScalarValue(t, *l.thumbOffsetEntry);
      l.thumbLength = ScalarValue(t, *l.thumbLengthEntry);
      l.thumbReadable = l.thumbLength > 0 && t.in(l.thumbOffset, l.thumbLength);
    }
    if (!l.thumbReadable) l.thumbOffsetEntry = l.thumbLengthEntry = std::nullopt;
  }
  return l;
}

// Writes into a TIFF structure (the payload after "Exif\0\0") in its byte order.
class TiffWriter {
 public:
  TiffWriter(std::string& payload, bool little) : m_payload(payload), m_little(little) {}
  void put16(size_t o, uint32_t v) {
    uint8_t* p = at(o);
    p[m_little ? 0 : 1] = static_cast<uint8_t>(v);
    p[m_little ? 1 : 0] = static_cast<uint8_t>(v >> 8);
  }
  void put32(size_t o, uint32_t v) {
    uint8_t* p = at(o);
    for (int i = 0; i < 4; ++i) p[m_little ? i : 3 - i] = static_cast<uint8_t>(v >> (8 * i));
  }
  // One SHORT or LONG value into its entry; a SHORT too small for it becomes a LONG.
  void scalar(size_t entry, uint32_t v) {
    const uint8_t* p = at(entry + 2);
    const uint32_t type = m_little ? static_cast<uint32_t>(p[0] | (p[1] << 8)) : static_cast<uint32_t>((p[0] << 8) | p[1]);
    if (type == kShort && v <= 0xFFFF) {
      put16(entry + 8, v);
      put16(entry + 10, 0);
    } else {
      put16(entry + 2, kLong);
      put32(entry + 8, v);
    }
  }

 private:
  uint8_t* at(size_t o) { return reinterpret_cast<uint8_t*>(m_payload.data()) + kTiffStart + o; }
  std::string& m_payload;
  bool m_little;
};

}  // namespace

ExifFacts ReadExifFacts(std::string_view payload) {
  ExifFacts facts;
  const auto l = Parse(payload);
  if (!l) return facts;
  facts.readable = true;
  if (l->pixelX) facts.pixelX = ScalarValue(l->tiff, *l->pixelX);
  if (l->pixelY) facts.pixelY = ScalarValue(l->tiff, *l->pixelY);
  facts.hasThumbnailIfd = l->ifd1Linked;
  if (l->ifd1Linked && l->thumbReadable) {
    facts.thumbnail.assign(reinterpret_cast<const char*>(l->tiff.p) + l->thumbOffset, l->thumbLength);
  }
  return facts;
}

std::optional<std::string> RewriteExifForPicture(std::string_view payload, int width, int height,
                                                 std::string_view thumbnail) {
  const auto l = Parse(payload);
  if (!l || !l->writesApart()) return std::nullopt;
  std::string out(payload);
  TiffWriter w(out, l->tiff.little);
  if (l->orientation) w.scalar(*l->orientation, 1);
  if (l->pixelX) w.scalar(*l->pixelX, static_cast<uint32_t>(width));
  if (l->pixelY) w.scalar(*l->pixelY, static_cast<uint32_t>(height));

  bool placed = false;
  if (l->ifd1Linked && l->thumbReadable && !thumbnail.empty()) {
    const size_t size = l->tiff.n;
    // A thumbnail at the end, after every IFD (where cameras put it), is
    // replaced where it lies; one elsewhere is left as dead bytes and the
    // new one appended.
    const bool atEnd =
        static_cast<size_t>(l->thumbOffset) + l->thumbLength == size && l->thumbOffset >= l->structureEnd;
    const size_t start = atEnd ? l->thumbOffset : size + (size & 1);
    if (kTiffStart + start + thumbnail.size() <= kMaxApp1Payload) {
      out.resize(kTiffStart + start, '\0');
      out.append(thumbnail);
      TiffWriter grown(out, l->tiff.little);
      grown.scalar(*l->thumbOffsetEntry, static_cast<uint32_t>(start));
      grown.scalar(*l->thumbLengthEntry, static_cast<uint32_t>(thumbnail.size()));
      placed = true;
    }
  }
  if (l->ifd1Linked && !placed) TiffWriter(out, l->tiff.little).put32(l->ifd0.nextAt, 0);
  // A payload whose structures share bytes (the header, counts, pointers)
  // may read differently once written: only a rewrite that reads back as
  // intended is given out.
  const ExifFacts facts = ReadExifFacts(out);
  const bool sound = facts.readable && (!l->pixelX || facts.pixelX == static_cast<uint32_t>(width)) &&
                     (!l->pixelY || facts.pixelY == static_cast<uint32_t>(height)) &&
                     (placed ? facts.thumbnail == thumbnail : !facts.hasThumbnailIfd || !l->ifd1Linked);
  if (!sound) return std::nullopt;
  return out;
}

}  // namespace pictavo
