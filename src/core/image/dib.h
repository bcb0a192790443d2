#pragma once
// The device-independent bitmap image: a BMP-standard info header, a colour
// table and a block of pixel rows, shared between images until one of them
// writes (copy on write). Pixel values are red + green * 256 + blue * 65536
// for full colour and colour-table indexes for 1-, 4- and 8-bit images. Row 0
// is always the top row, whatever the order of rows in the block.
//
// Misuse and bad BMP data are reported by exceptions with fixed English
// messages; callers turn them into their own messages.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "image/bitmap.h"

namespace pictavo {

#define PICTAVO_DIB_EXCEPTION(Name)                                    \
  class Name : public std::runtime_error {                             \
   public:                                                             \
    explicit Name(const std::string& message) : std::runtime_error(message) {} \
  }
PICTAVO_DIB_EXCEPTION(EPxDIBInvalidDIB);
PICTAVO_DIB_EXCEPTION(EPxDIBInvalidDIBFile);
PICTAVO_DIB_EXCEPTION(EPxDIBInvalidDIBPara);
PICTAVO_DIB_EXCEPTION(EPxDIBBadDIBType);
PICTAVO_DIB_EXCEPTION(EPxDIBPixelPositionRange);
PICTAVO_DIB_EXCEPTION(EPxDIBInvalidPalette);
PICTAVO_DIB_EXCEPTION(EPxDIBCompressionFailed);
PICTAVO_DIB_EXCEPTION(EPxDIBAssert);
// Memory for a pixel block could not be obtained.
PICTAVO_DIB_EXCEPTION(EOutOfResources);
// The file stream: the file cannot be opened, or holds fewer bytes than its
// headers demand.
PICTAVO_DIB_EXCEPTION(EFOpenError);
PICTAVO_DIB_EXCEPTION(EReadError);
#undef PICTAVO_DIB_EXCEPTION

enum class TPxPixelFormat { pxPf1Bit, pxPf4Bit, pxPf4BitRLE, pxPf8Bit, pxPf8BitRLE, pxPf24Bit };

struct BitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;  // negative: rows stored top-down
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

// Row stride in bytes: rows padded to a multiple of 4 bytes.
inline int64_t DibStride(int64_t width, int64_t bitCount) { return ((width * bitCount + 31) / 32) * 4; }

// The pixel store; shared between images through shared_ptr.
class TPxInternalDIB {
 public:
  // 256 entries of blue, green, red, reserved, and room for three more words
  // (the bit-field masks while a BMP file is read).
  using ColorTable = std::array<uint8_t, 256 * 4 + 12>;

  // The default store: 1 x 1, 8 bits, bottom-up, 2 colours, all zero.
  TPxInternalDIB();
  // A zero-filled store; W > 0, H != 0 (negative: top-down), B in 1, 4, 8,
  // 24, 0 <= C <= 256, and within the program's picture-size limit.
  static std::shared_ptr<TPxInternalDIB> CreateDIB(int32_t w, int32_t h, int bitCount, uint32_t colors);

  // Replaces the content with the BMP file in bytes; on failure the store
  // keeps what it had.
  void LoadFromStream(std::string_view bytes);
  // The same from a file, read only as far as the declared picture can use
  // (EFOpenError when it cannot be opened or is no regular file).
  void LoadFromFile(const std::string& path);
  TPxPixelFormat GetPixelFormat() const;
  void UpdatePalette() { paletteChanged = true; }

  int64_t Stride() const { return DibStride(width, header.biBitCount); }
  // Row y counted from the top; only for uncompressed stores.
  uint8_t* Row(int y);
  const uint8_t* Row(int y) const;

  int32_t width = 1;
  int32_t height = 1;
  BitmapInfoHeader header;
  ColorTable colorTable{};
  std::vector<uint8_t> block;  // pixel rows, or the RLE stream as stored
  bool paletteChanged = true;
};

class TPxDIB {
 public:
  TPxDIB();
  TPxDIB(const TPxDIB&) = delete;
  TPxDIB& operator=(const TPxDIB&) = delete;

  int32_t Width() const;
  int32_t Height() const;
  void SetWidth(int32_t value);
  void SetHeight(int32_t value);
  TPxPixelFormat PixelFormat() const;
  void SetPixelFormat(TPxPixelFormat format);

  uint32_t Pixels(int32_t x, int32_t y) const;
  void SetPixels(int32_t x, int32_t y, uint32_t value);
  // Row y from the top, Stride() bytes; for full colour blue, green, red triples.
  uint8_t* ScanLine(int32_t y);
  int64_t Stride() const { return m_dib->Stride(); }

  // Nothing: back to the default picture.
  void Assign(std::nullptr_t);
  // Shares the other image's store.
  void Assign(const TPxDIB& source);
  // Takes a copy of a platform bitmap (1, 4, 8 or 24 bits).
  void Assign(const Bitmap& source);
  void AssignTo(TPxDIB& destination) const { destination.Assign(*this); }
  // Writes the image into a bitmap of its size and bit depth, with its colour
  // table; RLE data is decoded.
  void AssignTo(Bitmap& destination) const;

  // Reads a BMP file; a failed load leaves the default 1 x 1 picture.
  void LoadFromFile(const std::string& path);
  void LoadFromStream(std::string_view bytes);

  // Raised whenever the content changes.
  std::function<void()> onChange;
  bool paletteModified() const { return m_paletteModified; }
  const BitmapInfoHeader& header() const { return m_dib->header; }
  const TPxInternalDIB::ColorTable& colorTable() const { return m_dib->colorTable; }
  bool sharesStoreWith(const TPxDIB& other) const { return m_dib == other.m_dib; }

 private:
  void UniqueDIB();
  void UpdatePaletteModified();
  void Attach(std::shared_ptr<TPxInternalDIB> store);
  void Changed();

  std::shared_ptr<TPxInternalDIB> m_dib;
  bool m_paletteModified = false;
};

// Walks an RLE8 or RLE4 stream as the BMP standard defines it, calling
// put(x, row, index) for each pixel, rows counted from the bottom. A pixel
// outside width x height throws EPxDIBInvalidDIB; the walk ends at the
// end-of-bitmap code or the end of the data.
void WalkRle(const uint8_t* data, size_t size, bool rle4, int64_t width, int64_t height,
             const std::function<void(int64_t, int64_t, uint8_t)>& put);

}  // namespace pictavo
