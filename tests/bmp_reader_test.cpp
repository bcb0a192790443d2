// The BMP reader: built files for the rules, the conformance suite for
// breadth, and the crafted files the fuzzer kept as regressions.

#include <gtest/gtest.h>

#include <dirent.h>

// Designated initializers below leave the other fields at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <algorithm>
#include <string>
#include <vector>

#include "image/dib.h"
#include "test_util.h"

namespace pictavo {
namespace {

void Put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

struct BmpSpec {
  int32_t width = 1;
  int32_t height = 1;
  int bits = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::string table;   // as stored after the header (masks and colour entries)
  std::string pixels;
  int64_t sizeAdjust = 0;  // added to the true file size in bfSize
};

// A file with a 40-byte info header.
std::string MakeBmp(const BmpSpec& b) {
  std::string body;
  Put32(body, 40);
  Put32(body, static_cast<uint32_t>(b.width));
  Put32(body, static_cast<uint32_t>(b.height));
  Put16(body, 1);
  Put16(body, static_cast<unsigned>(b.bits));
  Put32(body, b.compression);
  Put32(body, 0);
  Put32(body, 0);
  Put32(body, 0);
  Put32(body, b.colorsUsed);
  Put32(body, 0);
  body += b.table + b.pixels;
  std::string file = "BM";
  Put32(file, static_cast<uint32_t>(static_cast<int64_t>(body.size()) + 14 + b.sizeAdjust));
  Put32(file, 0);
  Put32(file, static_cast<uint32_t>(14 + 40 + b.table.size()));
  return file + body;
}

std::string Palette(std::initializer_list<uint32_t> colors) {  // as red + green*256 + blue*65536
  std::string t;
  for (uint32_t c : colors) {
    t += static_cast<char>((c >> 16) & 0xFF);
    t += static_cast<char>((c >> 8) & 0xFF);
    t += static_cast<char>(c & 0xFF);
    t += '\0';
  }
  return t;
}

template <class E>
std::string MessageOf(TPxDIB& d, const std::string& bytes) {
  try {
    d.LoadFromStream(bytes);
  } catch (const E& e) {
    return e.what();
  }
  return "(no exception)";
}

void ExpectDefault(const TPxDIB& d) {
  EXPECT_EQ(d.Width(), 1);
  EXPECT_EQ(d.Height(), 1);
  EXPECT_EQ(d.PixelFormat(), TPxPixelFormat::pxPf8Bit);
}

TEST(BmpReader, HeaderChecksAndMessages) {
  TPxDIB d;
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIBFile>(d, "XM" + std::string(60, '\0')),
            "TPxInternalDIB.LoadFromFile: File type is invalid");
  std::string v4 = MakeBmp({});
  v4[14] = 108;
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, v4), "TPxInternalDIB.LoadFromStream: Invalid Bitmap Header Size");
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.bits = 2})), "TPxInternalDIB.LoadFromStream: Invalid BitCout");
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.width = 0})),
            "TPxInternalDIB.LoadFromStream: Invalid Width or Height");
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.height = 0})),
            "TPxInternalDIB.LoadFromStream: Invalid Width or Height");
  ExpectDefault(d);
}

TEST(BmpReader, SizesAreCheckedBeforeAnythingIsAllocated) {
  TPxDIB d;
  // bfSize beyond the file: the stream's read error, and the default picture.
  d.SetWidth(7);
  EXPECT_EQ(MessageOf<EReadError>(d, MakeBmp({.pixels = std::string(4, '\0'), .sizeAdjust = 1000})),
            "Stream read error");
  ExpectDefault(d);
  // bfSize smaller than the headers: a negative pixel-data size.
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.pixels = std::string(4, '\0'), .sizeAdjust = -10})),
            "TPxInternalDIB.LoadFromStream: Invalid Pixel Data Size");
  // Fewer bytes than height x stride.
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.width = 2, .height = 2, .pixels = std::string(12, '\0')})),
            "TPxInternalDIB.LoadFromStream: Pixel Data is Shorter than the Picture");
  // Beyond the picture-size limit, whatever the file holds.
  EXPECT_NE(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.width = 0x7FFFFFFF, .height = -0x7FFFFFFF}))
                .find("larger than the program accepts"),
            std::string::npos);
  EXPECT_EQ(MessageOf<EReadError>(d, MakeBmp({.width = 6000, .height = 9000, .bits = 32})), "Stream read error");
  // Within that limit but beyond what one decode may take: refused before a byte of it is read.
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.width = 60000, .height = 9000, .bits = 32})),
            "TPxInternalDIB.LoadFromStream: Picture needs about 1545 MB of memory to decode, more than the 256 MB "
            "allowed");
  // A colour count far beyond 256 asks to skip more than the file holds.
  EXPECT_EQ(MessageOf<EReadError>(d, MakeBmp({.bits = 8, .colorsUsed = 0xFFFFFFFF})), "Stream read error");
  // An index beyond a two-entry table.
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.bits = 8, .colorsUsed = 2, .table = Palette({0, 0xFFFFFF}),
                                                     .pixels = std::string("\x02\0\0\0", 4)})),
            "TPxInternalDIB.LoadFromStream: Colour Index beyond the Colour Table");
  ExpectDefault(d);
}

TEST(BmpReader, SixteenAndThirtyTwoBitsBecomeTwentyFour) {
  TPxDIB d;
  std::string px;
  Put16(px, 0x7FFF);
  Put16(px, 0x001F);
  d.LoadFromStream(MakeBmp({.width = 2, .bits = 16, .pixels = px}));
  EXPECT_EQ(d.PixelFormat(), TPxPixelFormat::pxPf24Bit);
  EXPECT_EQ(d.Pixels(0, 0), 0xF8F8F8u);
  EXPECT_EQ(d.Pixels(1, 0), 0xF80000u);  // blue

  // 5-6-5 bit fields; top-down rows stay top-down.
  std::string masks, px2;
  Put32(masks, 0xF800);
  Put32(masks, 0x07E0);
  Put32(masks, 0x001F);
  Put16(px2, 0xF800);
  Put16(px2, 0);
  Put16(px2, 0x07E0);
  Put16(px2, 0);
  d.LoadFromStream(MakeBmp({.width = 1, .height = -2, .bits = 16, .compression = 3, .table = masks, .pixels = px2}));
  EXPECT_EQ(d.Pixels(0, 0), 0x0000F8u);
  EXPECT_EQ(d.Pixels(0, 1), 0x00FC00u);

  std::string zero;
  Put32(zero, 0xF800);
  Put32(zero, 0);
  Put32(zero, 0x1F);
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.bits = 16, .compression = 3, .table = zero,
                                                     .pixels = std::string(4, '\0')})),
            "TPxInternalDIB.LoadFromStream: Invalid Masks");

  std::string px32;
  Put32(px32, 0x00112233);
  d.LoadFromStream(MakeBmp({.bits = 32, .pixels = px32}));
  EXPECT_EQ(d.Pixels(0, 0), 0x332211u);
}

TEST(BmpReader, RleIsKeptAndDecodedOnAssign) {
  // 4 x 2, bottom row first: run of 3 x index 1 then 1 x index 2; end of line;
  // absolute run 2,1,0 (padded); end of bitmap.
  const std::string rle("\x03\x01\x01\x02\x00\x00\x00\x03\x02\x01\x00\x00\x00\x01", 14);
  TPxDIB d;
  d.LoadFromStream(MakeBmp({.width = 4, .height = 2, .bits = 8, .compression = 1, .colorsUsed = 3,
                            .table = Palette({0, 0xFF, 0xFF00}), .pixels = rle}));
  EXPECT_EQ(d.PixelFormat(), TPxPixelFormat::pxPf8BitRLE);
  EXPECT_THROW(d.Pixels(0, 0), EPxDIBBadDIBType);
  EXPECT_THROW(d.SetPixels(0, 0, 1), EPxDIBBadDIBType);
  EXPECT_THROW(d.ScanLine(0), EPxDIBBadDIBType);
  Bitmap b;
  d.AssignTo(b);
  ASSERT_EQ(b.bitsPerPixel, 8);
  EXPECT_EQ(std::vector<uint8_t>(b.row(0), b.row(0) + 4), (std::vector<uint8_t>{2, 1, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(b.row(1), b.row(1) + 4), (std::vector<uint8_t>{1, 1, 1, 2}));
  EXPECT_EQ(b.palette, (std::vector<uint32_t>{0, 0xFF, 0xFF00}));

  // RLE4: a run of 3 pixels alternating 1 and 2 in a 3 x 1 picture.
  d.LoadFromStream(MakeBmp({.width = 3, .height = 1, .bits = 4, .compression = 2, .colorsUsed = 3, .table = Palette({0, 1, 2}),
                            .pixels = std::string("\x03\x12\x00\x01", 4)}));
  EXPECT_EQ(d.PixelFormat(), TPxPixelFormat::pxPf4BitRLE);
  d.AssignTo(b);
  EXPECT_EQ(b.data[0], 0x12);
  EXPECT_EQ(b.data[1] & 0xF0, 0x10);

  // Streams that would write past their rows are refused at load.
  const std::string longRun("\x05\x01", 2);
  EXPECT_EQ(MessageOf<EPxDIBInvalidDIB>(d, MakeBmp({.width = 4, .height = 1, .bits = 8, .compression = 1, .colorsUsed = 2,
                                                     .table = Palette({0, 0}), .pixels = longRun})),
            "TPxInternalDIB.LoadFromStream: Invalid RLE Data");
  const std::string deltaOut("\x00\x02\x00\x05\x01\x01", 6);
  EXPECT_THROW(d.LoadFromStream(MakeBmp({.width = 4, .height = 2, .bits = 8, .compression = 1, .colorsUsed = 2,
                                         .table = Palette({0, 0}), .pixels = deltaOut})),
               EPxDIBInvalidDIB);
  ExpectDefault(d);
}

TEST(BmpReader, CoreHeaderAndPalettedFiles) {
  // 12-byte header, 1 bit, 9 x 1: the first and last pixel set.
  std::string body;
  Put32(body, 12);
  Put16(body, 9);
  Put16(body, 1);
  Put16(body, 1);
  Put16(body, 1);
  body += std::string("\0\0\0\xFF\xFF\xFF", 6);
  body += std::string("\x80\x80\0\0", 4);
  std::string file = "BM";
  Put32(file, static_cast<uint32_t>(body.size() + 14));
  Put32(file, 0);
  Put32(file, 0);
  TPxDIB d;
  d.LoadFromStream(file + body);
  EXPECT_EQ(d.PixelFormat(), TPxPixelFormat::pxPf1Bit);
  EXPECT_EQ(d.Width(), 9);
  EXPECT_EQ(d.Pixels(0, 0), 1u);
  EXPECT_EQ(d.Pixels(1, 0), 0u);
  EXPECT_EQ(d.Pixels(8, 0), 1u);
  Bitmap b, rgb;
  d.AssignTo(b);
  rgb = ToRgb24(b);
  EXPECT_EQ(rgb.data[0], 0xFF);
  EXPECT_EQ(rgb.data[3], 0x00);
}

std::vector<std::string> Files(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (dirent* e = ::readdir(dir)) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(folder + "/" + n);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Loads and decodes like the conversion does; the failure text, or empty.
std::string LoadAndDecode(const std::string& path) {
  TPxDIB d;
  try {
    d.LoadFromFile(path);
    Bitmap b;
    d.AssignTo(b);
    (void)ToRgb24(b);
    return "";
  } catch (const std::exception& e) {
    if (d.Width() != 1 || d.Height() != 1) return "loaded, then: " + std::string(e.what());
    return e.what();
  }
}

uint32_t HeaderSizeOf(const std::string& bytes) {
  if (bytes.size() < 18 || bytes.compare(0, 2, "BM") != 0) return 0;
  return static_cast<uint8_t>(bytes[14]) | static_cast<uint8_t>(bytes[15]) << 8;
}

TEST(BmpReader, ConformanceSuite) {
  const std::string suite = std::string(PICTAVO_SOURCE_DIR) + "/tests/data/bmpsuite";
  int good = 0, otherHeaders = 0;
  for (const char* sub : {"/g", "/q", "/b", "/x"}) {
    for (const auto& path : Files(suite + sub)) {
      const std::string error = LoadAndDecode(path);  // a clean failure or a success, never a crash
      const uint32_t headerSize = HeaderSizeOf(ReadAll(path));
      if (headerSize != 0 && headerSize != 12 && headerSize != 40) {
        EXPECT_EQ(error, "TPxInternalDIB.LoadFromStream: Invalid Bitmap Header Size") << path;
        ++otherHeaders;
      } else if (std::string(sub) == "/g") {
        EXPECT_EQ(error, "") << path;
        ++good;
      }
    }
  }
  EXPECT_GE(good, 20);
  EXPECT_GE(otherHeaders, 10);
  for (const char* name : {"badbitcount", "badheadersize", "badrle", "badrle4", "badrlebis", "badrleter",
                           "badrle4bis", "badrle4ter", "badwidth", "pal8badindex", "reallybig", "rletopdown",
                           "shortfile", "rgb16-880"}) {
    EXPECT_NE(LoadAndDecode(suite + "/b/" + name + ".bmp"), "") << name;
  }
}

// Files the fuzzer found interesting: each loads or fails with an exception,
// under the sanitizers as in the fuzz run.
TEST(BmpReader, FuzzerFindingsFailCleanly) {
  const auto files = Files(std::string(PICTAVO_SOURCE_DIR) + "/tests/data/bmp-fuzz");
  EXPECT_FALSE(files.empty());
  for (const auto& path : files) (void)LoadAndDecode(path);
}

}  // namespace
}  // namespace pictavo
