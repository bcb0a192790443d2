#include "image/bitmap.h"

#include <cstring>

namespace pictavo {

Bitmap Bitmap::Create(int width, int height, int bitsPerPixel) {
  Bitmap b;
  b.width = width;
  b.height = height;
  b.bitsPerPixel = bitsPerPixel;
  b.stride = (static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 7) / 8;
  b.data.assign(b.stride * static_cast<size_t>(height), 0);
  return b;
}

std::vector<uint32_t> Bitmap::GreyPalette() {
  std::vector<uint32_t> p(256);
  for (uint32_t i = 0; i < 256; ++i) p[i] = i | (i << 8) | (i << 16);
  return p;
}

Bitmap ToRgb24(const Bitmap& src) {
  const int bits = src.bitsPerPixel;
  if (bits != 1 && bits != 4 && bits != 8) return src;
  Bitmap out = Bitmap::Create(src.width, src.height, 24);
  for (int y = 0; y < src.height; ++y) {
    const uint8_t* s = src.row(y);
    uint8_t* d = out.row(y);
    for (int x = 0; x < src.width; ++x) {
      const unsigned index = bits == 8   ? s[x]
                             : bits == 4 ? (x % 2 == 0 ? s[x / 2] >> 4 : s[x / 2] & 0x0F)
                                         : ((s[x / 8] >> (7 - x % 8)) & 1);
      const uint32_t c = index < src.palette.size() ? src.palette[index] : 0;
      d[3 * x] = static_cast<uint8_t>(c & 0xFF);
      d[3 * x + 1] = static_cast<uint8_t>((c >> 8) & 0xFF);
      d[3 * x + 2] = static_cast<uint8_t>((c >> 16) & 0xFF);
    }
  }
  return out;
}

Bitmap ApplyOrientation(const Bitmap& src, int orientation) {
  if (orientation < 2 || orientation > 8 || (src.bitsPerPixel != 8 && src.bitsPerPixel != 24)) return src;
  const bool swap = orientation >= 5;
  const int w = src.width, h = src.height;
  const int ow = swap ? h : w, oh = swap ? w : h;
  Bitmap out = Bitmap::Create(ow, oh, src.bitsPerPixel);
  out.palette = src.palette;
  const size_t bpp = static_cast<size_t>(src.bitsPerPixel / 8);
  for (int y = 0; y < oh; ++y) {
    uint8_t* d = out.row(y);
    for (int x = 0; x < ow; ++x) {
      // Source coordinates of output pixel (x, y) for each orientation.
      int sx = x, sy = y;
      switch (orientation) {
        case 2: sx = w - 1 - x; sy = y; break;
        case 3: sx = w - 1 - x; sy = h - 1 - y; break;
        case 4: sx = x; sy = h - 1 - y; break;
        case 5: sx = y; sy = x; break;
        case 6: sx = y; sy = h - 1 - x; break;
        case 7: sx = w - 1 - y; sy = h - 1 - x; break;
        case 8: sx = w - 1 - y; sy = x; break;
        default: break;
      }
      std::memcpy(d + bpp * static_cast<size_t>(x), src.row(sy) + bpp * static_cast<size_t>(sx), bpp);
    }
  }
  return out;
}

}  // namespace pictavo
