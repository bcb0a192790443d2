#include "image/dib.h"

#include <cstring>
#include <new>

#include "image/jpeg.h"

namespace pictavo {

namespace {

std::vector<uint8_t> ZeroBlock(int64_t size) {
  try {
    return std::vector<uint8_t>(static_cast<size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    throw EOutOfResources("GetFileMap: Cannot Make File Mapping Object");
  }
}

uint32_t TableColor(const TPxInternalDIB::ColorTable& t, size_t i) {
  // Entry: blue, green, red, reserved; value: red + green * 256 + blue * 65536.
  return static_cast<uint32_t>(t[4 * i + 2]) | (static_cast<uint32_t>(t[4 * i + 1]) << 8) |
         (static_cast<uint32_t>(t[4 * i]) << 16);
}

// Full-colour rows: the DIB holds blue, green, red; the bitmap red, green, blue.
void SwapRedBlue(const uint8_t* from, uint8_t* to, int width) {
  for (int x = 0; x < width; ++x) {
    to[3 * x] = from[3 * x + 2];
    to[3 * x + 1] = from[3 * x + 1];
    to[3 * x + 2] = from[3 * x];
  }
}

}  // namespace

TPxInternalDIB::TPxInternalDIB() {
  header.biWidth = 1;
  header.biHeight = 1;
  header.biBitCount = 8;
  header.biClrUsed = 2;
  block.assign(4, 0);
}

std::shared_ptr<TPxInternalDIB> TPxInternalDIB::CreateDIB(int32_t w, int32_t h, int bitCount, uint32_t colors) {
  if (w <= 0 || h == 0 || colors > 256 || (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)) {
    throw EPxDIBInvalidDIBPara("TPxInternalDIB.CreateDIB: Invalid Parameters");
  }
  const int64_t absH = h < 0 ? -static_cast<int64_t>(h) : h;
  if (w > kMaxPictureSide || absH > kMaxPictureSide || w * absH > kMaxPicturePixels) {
    throw EPxDIBInvalidDIBPara("TPxInternalDIB.CreateDIB: Picture is larger than the program accepts");
  }
  auto store = std::make_shared<TPxInternalDIB>();
  store->width = w;
  store->height = static_cast<int32_t>(absH);
  store->header = BitmapInfoHeader{};
  store->header.biWidth = w;
  store->header.biHeight = h;
  store->header.biBitCount = static_cast<uint16_t>(bitCount);
  store->header.biClrUsed = colors;
  store->block = ZeroBlock(absH * DibStride(w, bitCount));
  store->paletteChanged = true;
  return store;
}

uint8_t* TPxInternalDIB::Row(int y) {
  const int64_t r = header.biHeight > 0 ? height - 1 - y : y;
  return block.data() + r * Stride();
}

const uint8_t* TPxInternalDIB::Row(int y) const {
  const int64_t r = header.biHeight > 0 ? height - 1 - y : y;
  return block.data() + r * Stride();
}

TPxPixelFormat TPxInternalDIB::GetPixelFormat() const {
  const uint32_t c = header.biCompression;
  switch (header.biBitCount) {
    case 1:
      if (c == 0) return TPxPixelFormat::pxPf1Bit;
      throw EPxDIBInvalidDIB("TPxInternalDIB.GetPixelFormat: Invalid DIB(1Bit)");
    case 4:
      if (c == 0) return TPxPixelFormat::pxPf4Bit;
      if (c == 2) return TPxPixelFormat::pxPf4BitRLE;
      throw EPxDIBInvalidDIB("TPxInternalDIB.GetPixelFormat: Invalid DIB(4Bit)");
    case 8:
      if (c == 0) return TPxPixelFormat::pxPf8Bit;
      if (c == 1) return TPxPixelFormat::pxPf8BitRLE;
      throw EPxDIBInvalidDIB("TPxInternalDIB.GetPixelFormat: Invalid DIB(8Bit)");
    case 24:
      if (c == 0) return TPxPixelFormat::pxPf24Bit;
      throw EPxDIBInvalidDIB("TPxInternalDIB.GetPixelFormat: Invalid DIB(24Bit)");
    default:
      throw EPxDIBInvalidDIB("TPxInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)");
  }
}

void WalkRle(const uint8_t* data, size_t size, bool rle4, int64_t width, int64_t height,
             const std::function<void(int64_t, int64_t, uint8_t)>& put) {
  int64_t x = 0, y = 0;
  size_t p = 0;
  auto emit = [&](uint8_t index) {
    if (x >= width || y >= height) throw EPxDIBInvalidDIB("TPxInternalDIB.LoadFromStream: Invalid RLE Data");
    put(x, y, index);
    ++x;
  };
  while (p + 2 <= size) {
    const uint8_t count = data[p], value = data[p + 1];
    p += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        emit(rle4 ? static_cast<uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      if (p + 2 > size) return;
      x += data[p];
      y += data[p + 1];
      p += 2;
    } else {  // absolute run, padded to a 16-bit boundary
      const size_t bytes = rle4 ? (value + 1u) / 2u : value;
      if (p + bytes > size) return;
      for (int i = 0; i < value; ++i) {
        const uint8_t b = data[p + (rle4 ? static_cast<size_t>(i / 2) : static_cast<size_t>(i))];
        emit(rle4 ? static_cast<uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
      }
      p += (bytes + 1) & ~static_cast<size_t>(1);
    }
  }
}

TPxDIB::TPxDIB() : m_dib(std::make_shared<TPxInternalDIB>()) {}

void TPxDIB::Changed() {
  if (onChange) onChange();
}

void TPxDIB::UpdatePaletteModified() {
  if (m_dib.use_count() != 1) throw EPxDIBAssert("TPxDIB.UpdatePaletteModified RefCount Must be 1");
  if (m_dib->paletteChanged) {
    m_dib->paletteChanged = false;
    m_paletteModified = true;
  }
}

void TPxDIB::UniqueDIB() {
  if (m_dib.use_count() == 1) return;
  std::shared_ptr<TPxInternalDIB> copy;
  try {
    copy = std::make_shared<TPxInternalDIB>(*m_dib);
  } catch (const std::bad_alloc&) {
    throw EOutOfResources("GetFileMap: Cannot Make File Mapping Object");
  }
  m_dib = std::move(copy);
  UpdatePaletteModified();
}

void TPxDIB::Attach(std::shared_ptr<TPxInternalDIB> store) {
  m_dib = std::move(store);
  UpdatePaletteModified();
  Changed();
}

int32_t TPxDIB::Width() const { return m_dib->width; }
int32_t TPxDIB::Height() const { return m_dib->height; }

void TPxDIB::SetWidth(int32_t value) {
  if (value <= 0) throw EPxDIBInvalidDIBPara("TPxDIB.SetWidth: Invalid Width");
  if (value == m_dib->width) return;
  Attach(TPxInternalDIB::CreateDIB(value, m_dib->height, m_dib->header.biBitCount, m_dib->header.biClrUsed));
}

void TPxDIB::SetHeight(int32_t value) {
  if (value == 0) throw EPxDIBInvalidDIBPara("TPxDIB.SetHeight: Invalid Height");
  if (value == m_dib->height) return;
  Attach(TPxInternalDIB::CreateDIB(m_dib->width, value, m_dib->header.biBitCount, m_dib->header.biClrUsed));
}

TPxPixelFormat TPxDIB::PixelFormat() const { return m_dib->GetPixelFormat(); }

void TPxDIB::SetPixelFormat(TPxPixelFormat format) {
  const TPxPixelFormat current = PixelFormat();
  if (format == current) return;
  if (format != TPxPixelFormat::pxPf24Bit) {
    // The reducing and RLE conversions are not part of this program.
    throw EPxDIBInvalidDIBPara("TPxDIB.SetPixelFormat: Conversion Not Supported");
  }
  if (current != TPxPixelFormat::pxPf8Bit) {
    throw EPxDIBBadDIBType("Convert8BitRGBToTrueColor: Invalid Bitcount & Compression Combination");
  }
  const TPxInternalDIB& src = *m_dib;
  auto store = TPxInternalDIB::CreateDIB(src.width, src.header.biHeight, 24, 0);
  store->header = src.header;
  store->header.biBitCount = 24;
  store->header.biCompression = 0;
  store->header.biSizeImage = 0;
  store->colorTable = src.colorTable;
  for (int y = 0; y < src.height; ++y) {
    const uint8_t* s = src.Row(y);
    uint8_t* d = store->Row(y);
    for (int x = 0; x < src.width; ++x) std::memcpy(d + 3 * x, src.colorTable.data() + 4 * s[x], 3);
  }
  store->UpdatePalette();
  Attach(std::move(store));
}

uint32_t TPxDIB::Pixels(int32_t x, int32_t y) const {
  const TPxInternalDIB& d = *m_dib;
  if (d.header.biCompression != 0) throw EPxDIBBadDIBType("TPxDIB.GetPixels: Bad DIB Type");
  if (x < 0 || x >= d.width || y < 0 || y >= d.height) {
    throw EPxDIBPixelPositionRange("TPxDIB.GetPixels: Pixel Position is Out of Range");
  }
  const uint8_t* row = d.Row(y);
  switch (d.header.biBitCount) {
    case 24:
      return static_cast<uint32_t>(row[3 * x + 2]) | (static_cast<uint32_t>(row[3 * x + 1]) << 8) |
             (static_cast<uint32_t>(row[3 * x]) << 16);
    case 8:
      return row[x];
    case 4:
      return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    default:
      return (row[x / 8] & (0x80 >> (x % 8))) != 0 ? 1 : 0;
  }
}

void TPxDIB::SetPixels(int32_t x, int32_t y, uint32_t value) {
  if (m_dib->header.biCompression != 0) throw EPxDIBBadDIBType("TPxDIB.SetPixels: Bad DIB Type");
  if (x < 0 || x >= m_dib->width || y < 0 || y >= m_dib->height) {
    throw EPxDIBPixelPositionRange("TPxDIB.SetPixels: Pixel Position is Out of Range");
  }
  const int bits = m_dib->header.biBitCount;
  if ((bits == 24 && (value & 0x80000000u) != 0) || (bits == 8 && value > 255)) {
    throw EPxDIBPixelPositionRange("TPxDIB.SetPixels: Pixel Value is Out of Range");
  }
  UniqueDIB();
  uint8_t* row = m_dib->Row(y);
  switch (bits) {
    case 24:
      row[3 * x + 2] = static_cast<uint8_t>(value & 0xFF);
      row[3 * x + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
      row[3 * x] = static_cast<uint8_t>((value >> 16) & 0xFF);
      break;
    case 8:
      row[x] = static_cast<uint8_t>(value);
      break;
    case 4: {
      uint8_t& b = row[x / 2];
      b = x % 2 == 0 ? static_cast<uint8_t>((b & 0x0F) | ((value & 0x0F) << 4))
                     : static_cast<uint8_t>((b & 0xF0) | (value & 0x0F));
      break;
    }
    default: {
      const auto mask = static_cast<uint8_t>(0x80 >> (x % 8));
      row[x / 8] = value != 0 ? static_cast<uint8_t>(row[x / 8] | mask) : static_cast<uint8_t>(row[x / 8] & ~mask);
    }
  }
}

uint8_t* TPxDIB::ScanLine(int32_t y) {
  if (m_dib.use_count() != 1) UniqueDIB();
  if (y < 0 || y >= m_dib->height) throw EPxDIBPixelPositionRange("TPxDIB.GetScanLine: y is Out of Range");
  if (m_dib->header.biCompression != 0) throw EPxDIBBadDIBType("TPxDIB.GetScanLine: Bad DIB Type");
  return m_dib->Row(y);
}

void TPxDIB::Assign(std::nullptr_t) {
  m_dib = std::make_shared<TPxInternalDIB>();
  UpdatePaletteModified();
}

void TPxDIB::Assign(const TPxDIB& source) {
  if (&source == this) return;
  m_dib = source.m_dib;
  m_paletteModified = true;
}

void TPxDIB::Assign(const Bitmap& source) {
  const int bits = source.bitsPerPixel;
  if (source.empty() || source.data.size() < source.stride * static_cast<size_t>(source.height)) {
    throw EPxDIBInvalidDIBPara("TPxInternalDIB.CreateDIB: Invalid Parameters");
  }
  auto store = TPxInternalDIB::CreateDIB(source.width, source.height, bits, 0);
  const size_t rowBytes = (static_cast<size_t>(source.width) * static_cast<size_t>(bits) + 7) / 8;
  for (int y = 0; y < source.height; ++y) {
    const uint8_t* s = source.row(y);
    uint8_t* d = store->Row(y);
    if (bits == 24) {
      SwapRedBlue(s, d, source.width);
    } else {
      std::memcpy(d, s, std::min(rowBytes, source.stride));
    }
  }
  if (bits <= 8) {
    const size_t n = size_t{1} << bits;
    for (size_t i = 0; i < n && i < source.palette.size(); ++i) {
      const uint32_t c = source.palette[i];
      store->colorTable[4 * i] = static_cast<uint8_t>((c >> 16) & 0xFF);
      store->colorTable[4 * i + 1] = static_cast<uint8_t>((c >> 8) & 0xFF);
      store->colorTable[4 * i + 2] = static_cast<uint8_t>(c & 0xFF);
    }
    store->header.biClrUsed = static_cast<uint32_t>(n);
  }
  store->UpdatePalette();
  Attach(std::move(store));
}

void TPxDIB::AssignTo(Bitmap& destination) const {
  const TPxInternalDIB& d = *m_dib;
  const TPxPixelFormat format = d.GetPixelFormat();
  int bits = 24;
  switch (format) {
    case TPxPixelFormat::pxPf1Bit: bits = 1; break;
    case TPxPixelFormat::pxPf4Bit:
    case TPxPixelFormat::pxPf4BitRLE: bits = 4; break;
    case TPxPixelFormat::pxPf8Bit:
    case TPxPixelFormat::pxPf8BitRLE: bits = 8; break;
    case TPxPixelFormat::pxPf24Bit: bits = 24; break;
  }
  Bitmap out = Bitmap::Create(d.width, d.height, bits);
  const size_t colors = std::min<uint32_t>(d.header.biClrUsed, 256);
  for (size_t i = 0; i < colors; ++i) out.palette.push_back(TableColor(d.colorTable, i));

  if (format == TPxPixelFormat::pxPf8BitRLE || format == TPxPixelFormat::pxPf4BitRLE) {
    const bool rle4 = format == TPxPixelFormat::pxPf4BitRLE;
    const int64_t h = d.height;
    WalkRle(d.block.data(), d.block.size(), rle4, d.width, h, [&](int64_t x, int64_t row, uint8_t index) {
      // RLE rows run from the bottom up.
      uint8_t* r = out.row(static_cast<int>(h - 1 - row));
      if (rle4) {
        uint8_t& b = r[x / 2];
        b = x % 2 == 0 ? static_cast<uint8_t>((b & 0x0F) | (index << 4)) : static_cast<uint8_t>((b & 0xF0) | index);
      } else {
        r[x] = index;
      }
    });
  } else {
    for (int y = 0; y < d.height; ++y) {
      const uint8_t* s = d.Row(y);
      uint8_t* o = out.row(y);
      if (bits == 24) {
        SwapRedBlue(s, o, d.width);
      } else {
        std::memcpy(o, s, out.stride);
      }
    }
  }
  destination = std::move(out);
}

void TPxDIB::LoadFromStream(std::string_view bytes) {
  m_dib = std::make_shared<TPxInternalDIB>();
  m_dib->LoadFromStream(bytes);
  UpdatePaletteModified();
  Changed();
}

void TPxDIB::LoadFromFile(const std::string& path) {
  m_dib = std::make_shared<TPxInternalDIB>();
  m_dib->LoadFromFile(path);  // an open failure names the file and the system's reason
  UpdatePaletteModified();
  Changed();
}

}  // namespace pictavo
