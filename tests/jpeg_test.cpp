#include <gtest/gtest.h>

#include "fixtures.h"
#include "image/jpeg.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

std::string SmallJpeg(const TempDir& dir, int w = 64, int h = 48, const JpegOptions& o = {}) {
  const std::string path = dir.file("small.jpg");
  MakeJpeg(path, w, h, o);
  return ReadAll(path);
}

Status Decodes(const std::string& bytes) {
  Bitmap out;
  JpegInfo info;
  return DecodeJpegMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, info);
}

TEST(Jpeg, DecodesColourAndGrey) {
  TempDir dir;
  MakeJpeg(dir.file("c.jpg"), 33, 17);
  MakeJpeg(dir.file("g.jpg"), 33, 17, {true});
  Bitmap out;
  JpegInfo info;
  ASSERT_TRUE(Succeeded(DecodeJpegFile(dir.file("c.jpg"), out, info)));
  EXPECT_EQ(out.bitsPerPixel, 24);
  EXPECT_EQ(out.width, 33);
  EXPECT_EQ(out.height, 17);
  ASSERT_TRUE(Succeeded(DecodeJpegFile(dir.file("g.jpg"), out, info)));
  EXPECT_EQ(out.bitsPerPixel, 8);
  EXPECT_EQ(info.components, 1);
  // A grey picture is encoded as colour with equal channels.
  ASSERT_TRUE(Succeeded(WriteJpegFile(dir.file("g2.jpg"), out, 90)));
  ASSERT_TRUE(Succeeded(ReadJpegInfo(dir.file("g2.jpg"), info)));
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
    ASSERT_TRUE(Succeeded(DecodeJpegFileToCover(path, 150, out, info)));
    EXPECT_EQ(out.width, c.outW) << path;
    EXPECT_EQ(out.height, c.outH) << path;
    EXPECT_EQ(info.width, c.w);
    EXPECT_EQ(info.height, c.h);
  }
}

TEST(Jpeg, DamagedInputIsACleanError) {
  TempDir dir;
  const std::string good = SmallJpeg(dir, 160, 120);
  EXPECT_TRUE(Succeeded(Decodes(good)));
  EXPECT_FALSE(Decodes("").ok());
  const Status notJpeg = Decodes("GIF89a not a jpeg at all");
  EXPECT_FALSE(notJpeg.ok());
  EXPECT_EQ(notJpeg.code(), ErrorCode::Damaged);
  const Status truncated = Decodes(good.substr(0, good.size() / 2));  // corrupt-data warning
  EXPECT_FALSE(truncated.ok());
  EXPECT_EQ(truncated.code(), ErrorCode::Damaged);
  EXPECT_NE(truncated.reason().find("damaged"), std::string::npos) << truncated.reason();
  EXPECT_FALSE(Decodes(good.substr(0, 200)).ok());  // cut inside the headers
  std::string flipped = good;
  for (size_t i = good.size() / 2; i < good.size() / 2 + 40; ++i) flipped[i] = static_cast<char>(0xFF);
  Bitmap out;
  JpegInfo info;
  // Only that it does not crash: whether these bytes still decode is libjpeg's call.
  (void)DecodeJpegMemory(reinterpret_cast<const uint8_t*>(flipped.data()), flipped.size(), out, info);
  const Status missing = DecodeJpegFile(dir.file("missing.jpg"), out, info);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.code(), ErrorCode::NotFound);
  EXPECT_NE(missing.reason().find("missing.jpg"), std::string::npos);
  const Status folder = DecodeJpegFile(dir.path(), out, info);
  EXPECT_FALSE(folder.ok());
  EXPECT_EQ(folder.code(), ErrorCode::CannotRead);

  // Intact, but of a process the decoder does not take (lossless): not damage.
  std::string lossless = good;
  const size_t sof = lossless.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  lossless[sof + 1] = static_cast<char>(0xC3);
  const Status unsupported = Decodes(lossless);
  EXPECT_FALSE(unsupported.ok());
  EXPECT_EQ(unsupported.code(), ErrorCode::Unsupported) << unsupported.reason();
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
  const Status refused = Decodes(bytes);
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.code(), ErrorCode::TooLarge);
  EXPECT_NE(refused.reason().find("too large"), std::string::npos) << refused.reason();
  WriteAll(dir.file("huge.jpg"), bytes);
  JpegInfo info;
  Bitmap picture;
  EXPECT_FALSE(DecodeJpegFile(dir.file("huge.jpg"), picture, info).ok());
  // Reading only the header allocates nothing for the pixels, so the size is
  // simply reported.
  ASSERT_TRUE(Succeeded(ReadJpegInfo(dir.file("huge.jpg"), info)));
  EXPECT_EQ(info.width, 64250);
  EXPECT_EQ(info.height, 64250);
}

TEST(Jpeg, ExifOrientationReader) {
  TempDir dir;
  MakeJpeg(dir.file("o.jpg"), 40, 30, {false, 90, 6});
  JpegInfo info;
  ASSERT_TRUE(Succeeded(ReadJpegInfo(dir.file("o.jpg"), info)));
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

TEST(Jpeg, ExifOrientationWriter) {
  uint8_t le[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                  0x12, 1, 3, 0, 1, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(SetExifOrientation(le, sizeof le, 1));
  EXPECT_EQ(le[24], 1);
  EXPECT_EQ(le[25], 0);
  EXPECT_EQ(ParseExifOrientation(le, sizeof le), 1);
  uint8_t be[] = {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1,
                  1, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(SetExifOrientation(be, sizeof be, 3));
  EXPECT_EQ(ParseExifOrientation(be, sizeof be), 3);
  EXPECT_FALSE(SetExifOrientation(be, sizeof be, 9));  // not an orientation
  EXPECT_EQ(ParseExifOrientation(be, sizeof be), 3);

  // Nothing is written outside a segment that cannot be read.
  uint8_t cut[sizeof le];
  std::copy(std::begin(le), std::end(le), cut);
  EXPECT_FALSE(SetExifOrientation(cut, 20, 6));
  EXPECT_TRUE(std::equal(std::begin(le), std::end(le), cut));
  uint8_t noTag[sizeof le];
  std::copy(std::begin(le), std::end(le), noTag);
  noTag[16] = 0x13;
  EXPECT_FALSE(SetExifOrientation(noTag, sizeof noTag, 6));
}

TEST(Jpeg, MetadataSegmentsSurviveAReencode) {
  TempDir dir;
  const std::string exif("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 32);
  const std::vector<JpegSegment> kept = {
      {0xE1, exif},
      {0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 42)},
      {0xE2, std::string("ICC_PROFILE\0\x01\x01profile", 21)},
      {0xED, std::string("Photoshop 3.0\0" "8BIM", 18)},
      {0xFE, "a comment"},
  };
  std::vector<JpegSegment> written = kept;
  written.insert(written.begin() + 2, {0xE2, std::string("MPF\0offsets", 11)});  // not carried over
  std::string bytes;
  ASSERT_TRUE(Succeeded(EncodeJpeg(Bitmap::Create(16, 8, 24), 90, written, bytes)));
  WriteAll(dir.file("m.jpg"), bytes);
  std::vector<JpegSegment> read;
  ASSERT_TRUE(Succeeded(ReadJpegMetadata(dir.file("m.jpg"), read)));
  EXPECT_EQ(read, kept);
  JpegInfo info;
  ASSERT_TRUE(Succeeded(ReadJpegInfo(dir.file("m.jpg"), info)));
  EXPECT_EQ(info.orientation, 6);

  const Status tooLong = EncodeJpeg(Bitmap::Create(4, 4, 24), 90, {{0xFE, std::string(70000, 'x')}}, bytes);
  EXPECT_FALSE(tooLong.ok());
  EXPECT_EQ(tooLong.code(), ErrorCode::TooLarge);
  WriteAll(dir.file("bad.jpg"), "not a picture");
  const Status bad = ReadJpegMetadata(dir.file("bad.jpg"), read);
  EXPECT_FALSE(bad.ok());
  EXPECT_EQ(bad.code(), ErrorCode::Damaged);
  EXPECT_NE(bad.reason().find("bad.jpg"), std::string::npos);
}

TEST(Jpeg, WriteIsAtomic) {
  TempDir dir;
  const std::string path = dir.file("t.jpg");
  WriteAll(path, "old");
  EXPECT_FALSE(WriteJpegFile(path, Bitmap{}, 80).ok());
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_TRUE(Succeeded(WriteJpegFile(path, PatternPicture(8, 8), 80)));
  EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"t.jpg"});
  const Status nowhere = WriteJpegFile(dir.file("none/t.jpg"), PatternPicture(8, 8), 80);
  EXPECT_FALSE(nowhere.ok());
  EXPECT_EQ(nowhere.code(), ErrorCode::NotFound);  // the folder named is not there
}

}  // namespace
}  // namespace pictavo
