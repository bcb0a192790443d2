#pragma once
// The core's plain picture type: what the JPEG layer decodes into and encodes
// from, and what the windows turn into a QImage. Rows run top to bottom; a
// 24-bit pixel is three bytes in the order red, green, blue; an 8-bit pixel is
// an index into the colour table (a decoded greyscale JPEG has 256 greys);
// 1- and 4-bit pixels are packed from the most significant bit.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictavo {

struct Bitmap {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 24;           // 1, 4, 8 or 24
  std::vector<uint32_t> palette;   // entries as red + green * 256 + blue * 65536
  size_t stride = 0;               // bytes per row
  std::vector<uint8_t> data;

  // A picture of the given size; rows padded to whole bytes (no extra alignment).
  static Bitmap Create(int width, int height, int bitsPerPixel);
  static std::vector<uint32_t> GreyPalette();

  uint8_t* row(int y) { return data.data() + static_cast<size_t>(y) * stride; }
  const uint8_t* row(int y) const { return data.data() + static_cast<size_t>(y) * stride; }
  bool empty() const { return width <= 0 || height <= 0; }
};

// A 24-bit copy of a 1-, 4- or 8-bit picture through its colour table (an
// index beyond the table gives black); a 24-bit picture is copied.
Bitmap ToRgb24(const Bitmap& src);

// Turns a picture as an EXIF orientation tag (1..8) says, so that it reads
// upright; 1 and unknown values give the picture unchanged.
Bitmap ApplyOrientation(const Bitmap& src, int orientation);

}  // namespace pictavo
