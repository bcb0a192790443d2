#include <gtest/gtest.h>

#include "fixtures.h"
#include "image/jpeg.h"
#include "test_util.h"

namespace pictavo {
namespace {

std::string SmallJpeg(const TempDir& dir, int w = 64, int h = 48, const JpegOptions& o = {}) {
  const std::string path = dir.file("small.jpg");
  MakeJpeg(path, w, h, o);
  return ReadAll(path);
}

bool Decodes(const std::string& bytes, std::string& error) {
  Bitmap out;
  JpegInfo info;
  return DecodeJpegMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, info, error);
}

TEST(Jpeg, DecodesColourAndGrey) {
  TempDir dir;
  MakeJpeg(dir.file("c.jpg"), 33, 17);
  MakeJpeg(dir.file("g.jpg"), 33, 17, {true});
  Bitmap out;
  JpegInfo info;
  std::string error;
  ASSERT_TRUE(DecodeJpegFile(dir.file("c.jpg"), out, info, error)) << error;
  EXPECT_EQ(out.bitsPerPixel, 24);
  EXPECT_EQ(out.width, 33);
  EXPECT_EQ(out.height, 17);
  ASSERT_TRUE(DecodeJpegFile(dir.file("g.jpg"), out, info, error)) << error;
  EXPECT_EQ(out.bitsPerPixel, 8);
  EXPECT_EQ(info.components, 1);
  // A grey picture is encoded as colour with equal channels.
  ASSERT_TRUE(WriteJpegFile(dir.file("g2.jpg"), out, 90, error));
  ASSERT_TRUE(ReadJpegInfo(dir.file("g2.jpg"), info, error));
  EXPECT_EQ(info.components, 3);
}

// A preview decode reduces as far as the longer side still covers the box,
// and reports the stored size for the fit.
TEST(Jpeg, PreviewDecodeCoversTheBoxAtTheSmallestScale) {
  TempDir dir;
  struct Case {
    int w, h, outW, outH;
  } cases[] = {{2000, 1000, 250, 125}, {1000, 100, 250, 25}, {100, 50, 100, 50}, {1200, 1600, 150, 200}};
  for (const Case& c : cases) {
    const std::string path = dir.file(std::to_string(c.w) + "x" + std::to_string(c.h) + ".jpg");
    MakeJpeg(path, c.w, c.h, {false, 90, 1, 2, 2, true});
    Bitmap out;
    JpegInfo info;
    std::string error;
    ASSERT_TRUE(DecodeJpegFileToCover(path, 150, out, info, error)) << error;
    EXPECT_EQ(out.width, c.outW) << path;
    EXPECT_EQ(out.height, c.outH) << path;
    EXPECT_EQ(info.width, c.w);
    EXPECT_EQ(info.height, c.h);
  }
}

TEST(Jpeg, DamagedInputIsACleanError) {
  TempDir dir;
  const std::string good = SmallJpeg(dir, 160, 120);
  std::string error;
  EXPECT_TRUE(Decodes(good, error)) << error;
  EXPECT_FALSE(Decodes("", error));
  EXPECT_FALSE(Decodes("GIF89a not a jpeg at all", error));
  EXPECT_FALSE(Decodes(good.substr(0, good.size() / 2), error));  // truncated: corrupt-data warning
  EXPECT_NE(error.find("damaged"), std::string::npos) << error;
  EXPECT_FALSE(Decodes(good.substr(0, 200), error));               // cut inside the headers
  std::string flipped = good;
  for (size_t i = good.size() / 2; i < good.size() / 2 + 40; ++i) flipped[i] = static_cast<char>(0xFF);
  Bitmap out;
  JpegInfo info;
  DecodeJpegMemory(reinterpret_cast<const uint8_t*>(flipped.data()), flipped.size(), out, info, error);  // no crash
  EXPECT_FALSE(DecodeJpegFile(dir.file("missing.jpg"), out, info, error));
  EXPECT_NE(error.find("missing.jpg"), std::string::npos);
  EXPECT_FALSE(DecodeJpegFile(dir.path(), out, info, error));  // a folder
}

TEST(Jpeg, HugeDeclaredSizeIsRefusedBeforeDecoding) {
  TempDir dir;
  std::string bytes = SmallJpeg(dir);
  const size_t sof = bytes.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  // Height and width follow the length and precision: 64250 x 64250.
  bytes[sof + 5] = static_cast<char>(0xFA);
  bytes[sof + 6] = static_cast<char>(0xFA);
  bytes[sof + 7] = static_cast<char>(0xFA);
  bytes[sof + 8] = static_cast<char>(0xFA);
  std::string error;
  EXPECT_FALSE(Decodes(bytes, error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  WriteAll(dir.file("huge.jpg"), bytes);
  JpegInfo info;
  Bitmap picture;
  EXPECT_FALSE(DecodeJpegFile(dir.file("huge.jpg"), picture, info, error));
  // Reading only the header allocates nothing for the pixels, so the size is
  // simply reported.
  error.clear();
  ASSERT_TRUE(ReadJpegInfo(dir.file("huge.jpg"), info, error)) << error;
  EXPECT_EQ(info.width, 64250);
  EXPECT_EQ(info.height, 64250);
}

TEST(Jpeg, ExifOrientationReader) {
  TempDir dir;
  MakeJpeg(dir.file("o.jpg"), 40, 30, {false, 90, 6});
  JpegInfo info;
  std::string error;
  ASSERT_TRUE(ReadJpegInfo(dir.file("o.jpg"), info, error));
  EXPECT_EQ(info.orientation, 6);
  EXPECT_EQ(info.width, 40);  // as stored

  // Little-endian, and malformed segments that must not be read past their end.
  const uint8_t le[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                        0x12, 1, 3, 0, 1, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(ParseExifOrientation(le, sizeof le), 8);
  EXPECT_EQ(ParseExifOrientation(le, 20), 1);           // entry cut off
  uint8_t badOffset[sizeof le];
  std::copy(std::begin(le), std::end(le), badOffset);
  badOffset[10] = 0xF0;                                  // IFD beyond the segment
  EXPECT_EQ(ParseExifOrientation(badOffset, sizeof badOffset), 1);
  uint8_t badValue[sizeof le];
  std::copy(std::begin(le), std::end(le), badValue);
  badValue[24] = 9;                                      // not an orientation
  EXPECT_EQ(ParseExifOrientation(badValue, sizeof badValue), 1);
  EXPECT_EQ(ParseExifOrientation(le, 3), 1);
}

TEST(Jpeg, WriteIsAtomic) {
  TempDir dir;
  const std::string path = dir.file("t.jpg");
  WriteAll(path, "old");
  std::string error;
  EXPECT_FALSE(WriteJpegFile(path, Bitmap{}, 80, error));
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_TRUE(WriteJpegFile(path, PatternPicture(8, 8), 80, error));
  EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"t.jpg"});
}

}  // namespace
}  // namespace pictavo
