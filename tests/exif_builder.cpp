#include "exif_builder.h"

#include <cstdint>

namespace pictavo {

namespace {

class Tiff {
 public:
  explicit Tiff(bool little) : m_little(little) {}
  void u16(uint32_t v) {
    for (int i = 0; i < 2; ++i) bytes += static_cast<char>(v >> (8 * (m_little ? i : 1 - i)));
  }
  void u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(v >> (8 * (m_little ? i : 3 - i)));
  }
  // One entry; SHORT values are left-justified in the value field.
  void entry(uint32_t tag, uint32_t type, uint32_t count, uint32_t value) {
    u16(tag);
    u16(type);
    u32(count);
    if (type == 3 && count == 1) {
      u16(value);
      u16(0);
    } else {
      u32(value);
    }
  }
  std::string bytes;

 private:
  bool m_little;
};

}  // namespace

std::string BuildExif(ExifSpec& spec) {
  // Layout: header, IFD0 (2 entries), Exif IFD (3 entries), maker note,
  // IFD1 (3 entries), thumbnail, trailing data.
  const uint32_t ifd0 = 8, ifd0Size = 2 + 2 * 12 + 4;
  const uint32_t exif = ifd0 + ifd0Size, exifSize = 2 + 3 * 12 + 4;
  const uint32_t note = exif + exifSize;
  const uint32_t noteSize = static_cast<uint32_t>(spec.makerNote.size());
  const uint32_t ifd1 = note + noteSize + (noteSize & 1), ifd1Size = 2 + 3 * 12 + 4;
  const uint32_t thumb = ifd1 + ifd1Size;
  Tiff t(spec.little);
  t.bytes.append(spec.little ? "II" : "MM", 2);
  t.u16(42);
  t.u32(ifd0);
  t.u16(2);
  spec.orientationAt = 6 + t.bytes.size() + 8;
  t.entry(0x0112, 3, 1, static_cast<uint32_t>(spec.orientation));
  t.entry(0x8769, 4, 1, exif);
  t.u32(spec.thumbnail.empty() ? 0 : ifd1);
  t.u16(3);
  t.entry(0xA002, 3, 1, spec.pixelX);
  t.entry(0xA003, 4, 1, spec.pixelY);
  t.entry(0x927C, 7, noteSize, note);
  t.u32(0);
  spec.makerNoteAt = 6 + t.bytes.size();
  t.bytes += spec.makerNote;
  if (noteSize & 1) t.bytes += '\0';
  if (!spec.thumbnail.empty()) {
    t.u16(3);
    t.entry(0x0103, 3, 1, static_cast<uint32_t>(spec.compression));
    t.entry(0x0201, 4, 1, thumb);
    t.entry(0x0202, 4, 1, static_cast<uint32_t>(spec.thumbnail.size()));
    t.u32(0);
    t.bytes += spec.thumbnail;
  }
  t.bytes += spec.dataAfterThumbnail;
  return std::string("Exif\0\0", 6) + t.bytes;
}

}  // namespace pictavo
