// The BMP reader: 40-byte info headers and 12-byte core headers; 1-, 4-, 8-
// and 24-bit data and RLE streams kept as stored, 16- and 32-bit data turned
// into 24 bits. Files come from anywhere: every size is checked against the
// bytes that are really there, against the picture-size limit and against
// the memory one decode may take before a block is allocated or read, and
// only the bytes the declared picture can use are read (a file read from
// disk is read as far as that, never whole).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

#include "image/dib.h"
#include "image/jpeg.h"
#include "platform/error.h"

namespace pictavo {

namespace {

constexpr const char* kWhere = "TPxInternalDIB.LoadFromStream: ";

[[noreturn]] void Invalid(const std::string& what) { throw EPxDIBInvalidDIB(kWhere + what); }

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// The bytes of a BMP file, read forward.
class ByteStream {
 public:
  virtual ~ByteStream() = default;
  virtual uint64_t remaining() const = 0;
  // n bytes, valid until the next read.
  virtual const uint8_t* read(uint64_t n) = 0;
  virtual void readInto(uint8_t* out, uint64_t n) { std::memcpy(out, read(n), static_cast<size_t>(n)); }
};

class MemoryStream : public ByteStream {
 public:
  explicit MemoryStream(std::string_view bytes)
      : m_data(reinterpret_cast<const uint8_t*>(bytes.data())), m_size(bytes.size()) {}
  uint64_t remaining() const override { return m_size - m_pos; }
  const uint8_t* read(uint64_t n) override {
    if (n > remaining()) throw EReadError("Stream read error");
    const uint8_t* p = m_data + m_pos;
    m_pos += static_cast<size_t>(n);
    return p;
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

// A regular file, read as far as the reader asks. Its size is what the
// sizes in the header are checked against.
class FileStream : public ByteStream {
 public:
  explicit FileStream(const std::string& path) : m_path(path) {
    // O_NONBLOCK: a pipe with a picture's name is refused, not waited on.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) throw EFOpenError(SystemErrorText(path, errno));
    if (!S_ISREG(st.st_mode)) throw EFOpenError(SystemErrorText(path, EINVAL));
    m_size = static_cast<uint64_t>(st.st_size);
  }
  ~FileStream() override {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  uint64_t remaining() const override { return m_size - m_pos; }
  const uint8_t* read(uint64_t n) override {
    if (n > remaining()) throw EReadError("Stream read error");
    m_buffer.resize(static_cast<size_t>(n));
    readInto(m_buffer.data(), n);
    return m_buffer.data();
  }
  void readInto(uint8_t* out, uint64_t n) override {
    if (n > remaining()) throw EReadError("Stream read error");
    uint64_t done = 0;
    while (done < n) {
      const ssize_t got = ::read(m_fd, out + done, static_cast<size_t>(n - done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) throw EReadError(got < 0 ? SystemErrorText(m_path, errno) : std::string("Stream read error"));
      done += static_cast<uint64_t>(got);
    }
    m_pos += n;
  }

 private:
  std::string m_path;
  int m_fd = -1;
  uint64_t m_size = 0, m_pos = 0;
  std::vector<uint8_t> m_buffer;
};

int MaskShift(uint32_t mask) {
  int s = 0;
  uint32_t m = mask;
  while (m >= 256) {
    m /= 2;
    ++s;
  }
  while (m < 128) {
    m *= 2;
    --s;
  }
  return s;
}

uint8_t Channel(uint32_t p, uint32_t mask, int shift) {
  const uint32_t v = p & mask;
  return static_cast<uint8_t>((shift >= 0 ? v >> shift : v << -shift) & 0xFF);
}

using ColorTable = TPxInternalDIB::ColorTable;

// The 40-byte info header with its colour table (and the three masks of a
// bit-field file). Returns the size of the pixel data the file header implies.
int64_t ReadInfoHeader(ByteStream& s, int64_t bfSize, BitmapInfoHeader& h, ColorTable& table) {
  const uint8_t* p = s.read(36);
  h.biWidth = static_cast<int32_t>(U32(p));
  h.biHeight = static_cast<int32_t>(U32(p + 4));
  h.biPlanes = U16(p + 8);
  h.biBitCount = U16(p + 10);
  h.biCompression = U32(p + 12);
  h.biSizeImage = U32(p + 16);
  h.biXPelsPerMeter = static_cast<int32_t>(U32(p + 20));
  h.biYPelsPerMeter = static_cast<int32_t>(U32(p + 24));
  h.biClrUsed = U32(p + 28);
  h.biClrImportant = U32(p + 32);
  const int bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Invalid("Invalid BitCout");
  if (h.biClrUsed == 0 && bits <= 8) h.biClrUsed = 1u << bits;
  const uint64_t colors = h.biClrUsed;
  const uint64_t masks = h.biCompression == 3 ? 12 : 0;
  if (colors > 256) {
    s.readInto(table.data(), masks + 1024);
    s.read((colors - 256) * 4);
  } else {
    s.readInto(table.data(), masks + colors * 4);
  }
  if (colors > 256) h.biClrUsed = 256;
  return bfSize - 14 - 40 - static_cast<int64_t>(colors) * 4;
}

// The 12-byte core header with its three-byte colour entries.
int64_t ReadCoreHeader(ByteStream& s, int64_t bfSize, BitmapInfoHeader& h, ColorTable& table) {
  const uint8_t* p = s.read(8);
  h.biWidth = U16(p);
  h.biHeight = U16(p + 2);
  h.biPlanes = U16(p + 4);
  h.biBitCount = U16(p + 6);
  const int bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) Invalid("Invalid BitCount");
  const uint32_t colors = bits == 24 ? 0 : 1u << bits;
  const uint8_t* entries = s.read(3 * colors);
  for (uint32_t i = 0; i < colors; ++i) std::memcpy(table.data() + 4 * i, entries + 3 * i, 3);
  h.biClrUsed = colors;
  return bfSize - 12 - 3 * static_cast<int64_t>(colors) - 14;
}

void CheckPictureSize(int64_t w, int64_t absH) {
  if (w > kMaxPictureSide || absH > kMaxPictureSide || w * absH > kMaxPicturePixels) {
    Invalid("Picture is larger than the program accepts (" + std::to_string(w) + " x " + std::to_string(absH) +
            " pixels; at most " + std::to_string(kMaxPictureSide) + " a side and " +
            std::to_string(kMaxPicturePixels / 1000000) + " megapixels)");
  }
  // Whatever its format, the picture is decoded into 24 bits before it is
  // used: one decode may take no more memory than a JPEG decode may.
  const int64_t decoded = absH * DibStride(w, 24);
  if (decoded > kJpegMemoryLimit) {
    Invalid("Picture needs about " + std::to_string((decoded + (1 << 20) - 1) >> 20) +
            " MB of memory to decode, more than the " + std::to_string(kJpegMemoryLimit >> 20) + " MB allowed");
  }
}

std::vector<uint8_t> Allocated(size_t size) {
  try {
    return std::vector<uint8_t>(size, 0);
  } catch (const std::bad_alloc&) {
    throw EOutOfResources("GetFileMap: Cannot Make File Mapping Object");
  }
}

// The most an RLE stream of a w x h picture can usefully hold: a two-byte
// run for every pixel, an end of line for every row and the end of the
// bitmap. Bytes after that draw nothing the picture keeps.
int64_t RleLimit(int64_t w, int64_t absH) { return 2 * w * absH + 4 * absH + 16; }

// 1-, 4-, 8- and 24-bit data, plain or RLE, kept as stored once checked:
// an RLE stream that would write outside its rows, rows shorter than the
// picture, or a colour index beyond the table are refused here, so that
// decoding later cannot go wrong.
std::vector<uint8_t> ReadStoredPixels(ByteStream& s, const BitmapInfoHeader& h, int64_t dataSize, int64_t w,
                                      int64_t absH) {
  const int bits = h.biBitCount;
  if (dataSize < 0) Invalid("Invalid Pixel Data Size");
  if (static_cast<uint64_t>(dataSize) > s.remaining()) throw EReadError("Stream read error");
  const bool rle8 = bits == 8 && h.biCompression == 1;
  const bool rle4 = bits == 4 && h.biCompression == 2;
  const uint32_t colors = h.biClrUsed;
  const bool checkIndex = bits <= 8 && colors < (1u << bits);
  const int64_t stride = DibStride(w, bits);
  // Only what the declared picture can use is read and kept: the rows of a
  // plain picture, an RLE stream as far as it can draw.
  int64_t kept = dataSize;
  if (rle8 || rle4) {
    if (h.biHeight < 0) Invalid("Invalid RLE Data");  // RLE streams are bottom-up by definition
    kept = std::min(dataSize, RleLimit(w, absH));
  } else if (h.biCompression == 0) {
    if (dataSize < absH * stride) Invalid("Pixel Data is Shorter than the Picture");
    kept = absH * stride;
  }
  std::vector<uint8_t> block = Allocated(static_cast<size_t>(kept));
  s.readInto(block.data(), static_cast<uint64_t>(kept));
  const uint8_t* data = block.data();
  if (rle8 || rle4) {
    WalkRle(data, block.size(), rle4, w, absH, [&](int64_t, int64_t, uint8_t index) {
      if (checkIndex && index >= colors) Invalid("Colour Index beyond the Colour Table");
    });
  } else if (h.biCompression == 0) {
    for (int64_t y = 0; checkIndex && y < absH; ++y) {
      const uint8_t* row = data + y * stride;
      for (int64_t x = 0; x < w; ++x) {
        const unsigned index = bits == 8   ? row[x]
                               : bits == 4 ? (x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F)
                                           : ((row[x / 8] >> (7 - x % 8)) & 1);
        if (index >= colors) Invalid("Colour Index beyond the Colour Table");
      }
    }
  }
  return block;
}

// 16- and 32-bit data, plain or with bit-field masks, turned into 24 bits.
std::vector<uint8_t> ConvertMaskedPixels(ByteStream& s, const BitmapInfoHeader& h, const ColorTable& table, int64_t w,
                                         int64_t absH) {
  const int bits = h.biBitCount;
  const int64_t sourceRow = bits == 16 ? ((2 * w + 3) & ~int64_t{3}) : 4 * w;
  if (static_cast<uint64_t>(absH * sourceRow) > s.remaining()) throw EReadError("Stream read error");
  uint32_t red, green, blue;
  if (h.biCompression != 0) {
    red = U32(table.data());
    green = U32(table.data() + 4);
    blue = U32(table.data() + 8);
  } else if (bits == 16) {
    red = 0x7C00, green = 0x03E0, blue = 0x001F;
  } else {
    red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
  }
  if (red == 0 || green == 0 || blue == 0) Invalid("Invalid Masks");
  const int rs = MaskShift(red), gs = MaskShift(green), bs = MaskShift(blue);
  const int64_t stride = DibStride(w, 24);
  std::vector<uint8_t> block = Allocated(static_cast<size_t>(absH * stride));
  for (int64_t y = 0; y < absH; ++y) {
    const uint8_t* src = s.read(static_cast<uint64_t>(sourceRow));
    uint8_t* out = block.data() + y * stride;
    for (int64_t x = 0; x < w; ++x) {
      const uint32_t p = bits == 16 ? U16(src + 2 * x) : U32(src + 4 * x);
      out[3 * x] = Channel(p, blue, bs);
      out[3 * x + 1] = Channel(p, green, gs);
      out[3 * x + 2] = Channel(p, red, rs);
    }
  }
  return block;
}

void Load(TPxInternalDIB& dib, ByteStream& s) {
  const uint8_t* fileHeader = s.read(14);
  if (U16(fileHeader) != 0x4D42) throw EPxDIBInvalidDIBFile("TPxInternalDIB.LoadFromFile: File type is invalid");
  const int64_t bfSize = U32(fileHeader + 2);
  const uint32_t headerSize = U32(s.read(4));

  BitmapInfoHeader h;
  ColorTable table{};
  int64_t dataSize = 0;
  if (headerSize == 40) {
    dataSize = ReadInfoHeader(s, bfSize, h, table);
  } else if (headerSize == 12) {
    dataSize = ReadCoreHeader(s, bfSize, h, table);
  } else {
    Invalid("Invalid Bitmap Header Size");
  }
  if (h.biWidth <= 0 || h.biHeight == 0) Invalid("Invalid Width or Height");
  const int64_t w = h.biWidth;
  const int64_t absH = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
  CheckPictureSize(w, absH);

  std::vector<uint8_t> newBlock;
  if (h.biBitCount != 16 && h.biBitCount != 32) {
    newBlock = ReadStoredPixels(s, h, dataSize, w, absH);
  } else {
    newBlock = ConvertMaskedPixels(s, h, table, w, absH);
    if (h.biCompression == 3) std::memmove(table.data(), table.data() + 12, 1024);
    h.biCompression = 0;
    h.biBitCount = 24;
    h.biSizeImage = 0;
  }

  dib.header = h;
  dib.colorTable = table;
  dib.block = std::move(newBlock);
  dib.width = static_cast<int32_t>(w);
  dib.height = static_cast<int32_t>(absH);
  dib.UpdatePalette();
}

}  // namespace

void TPxInternalDIB::LoadFromStream(std::string_view bytes) {
  MemoryStream s(bytes);
  Load(*this, s);
}

void TPxInternalDIB::LoadFromFile(const std::string& path) {
  FileStream s(path);
  Load(*this, s);
}

}  // namespace pictavo
