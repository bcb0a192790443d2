// The published copy encoded while it is being reduced, on a second thread:
// its bytes must be exactly those of the reduced picture encoded whole.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "image/jpeg.h"
#include "image/jpeg_row_encoder.h"
#include "publish/location.h"
#include "publish/published_picture.h"
#include "publish_fixtures.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

// The published bytes the whole-picture way: the reduced picture held whole,
// then encoded with the source's segments, orientation 1, the location out.
std::string WholeWay(const std::string& path, const PublishedSize& size, bool keepLocation) {
  std::vector<JpegSegment> segments;
  std::string bytes;
  EXPECT_TRUE(Succeeded(ReadJpegMetadata(path, segments)));
  for (JpegSegment& s : segments) {
    if (KindOfSegment(s.marker, s.data) == SegmentKind::Exif) {
      (void)SetExifOrientation(reinterpret_cast<uint8_t*>(s.data.data()), s.data.size(), 1);
    }
  }
  if (!keepLocation) (void)StripSegmentsLocation(segments);
  Bitmap picture;
  EXPECT_TRUE(Succeeded(ReducePublishedPicture(path, size, picture)));
  EXPECT_TRUE(Succeeded(EncodeJpeg(picture, 85, segments, bytes)));
  return bytes;
}

struct CountStarts : JpegRowConsumer {
  void start(const JpegInfo&) override { ++starts; }
  int nextRow(int y) override { return y; }
  void takeRow(int, const uint8_t*) override {}
  int starts = 0;
};

TEST(PublishedEncode, StreamedBytesAreThoseOfTheWholePictureWay) {
  TempDir dir;
  struct Case {
    std::string name;
    int w, h, box;
    JpegOptions options;
  };
  JpegOptions h1v1, grey, progressive, upsideDown, turned, greyTurned;
  h1v1.lumaH = h1v1.lumaV = 1;
  grey.grey = true;
  progressive.progressive = true;
  upsideDown.orientation = 3;
  turned.orientation = 6;
  greyTurned.grey = true;
  greyTurned.orientation = 8;
  // Sizes that leave a short last batch of rows and many blocks between the
  // threads, at each DCT scale.
  const std::vector<Case> cases = {
      {"h2v2-half", 1300, 901, 600, {}},         {"h1v1-full", 777, 555, 701, h1v1},
      {"grey-quarter", 900, 700, 203, grey},     {"progressive-half", 1000, 750, 401, progressive},
      {"turned-180", 640, 480, 301, upsideDown}, {"turned-90", 600, 450, 290, turned},
      {"grey-turned", 500, 333, 250, greyTurned},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.file(c.name + ".jpg");
    MakeJpeg(path, c.w, c.h, c.options);
    PublishedSize size;
    std::string bytes;
    ASSERT_TRUE(Succeeded(PlanPublishedPicture(path, c.box, 0, 0, size)));
    ASSERT_TRUE(size.reduce);
    ASSERT_TRUE(Succeeded(EncodePublishedPicture(path, size, 85, false, bytes)));
    EXPECT_EQ(bytes, WholeWay(path, size, false));
  }

  // With every kind of segment, kept or without the location.
  const std::string tagged = dir.file("tagged.jpg");
  WriteJpegWithMetadata(tagged, PatternPicture(700, 500), 1, true);
  for (const bool keep : {false, true}) {
    PublishedSize size;
    std::string bytes;
    ASSERT_TRUE(Succeeded(PlanPublishedPicture(tagged, 320, 0, 0, size)));
    ASSERT_TRUE(Succeeded(EncodePublishedPicture(tagged, size, 85, keep, bytes)));
    EXPECT_EQ(bytes, WholeWay(tagged, size, keep));
    EXPECT_EQ(CarriesLocation(bytes), keep);
  }

  // A progressive file whose rewrite gives up at its last row: the decode
  // starts over from the file, and so do the reduction and the encoding.
  JpegOptions o;
  o.progressive = true;
  MakeJpeg(dir.file("good.jpg"), 640, 480, o);
  std::string file = ReadAll(dir.file("good.jpg"));
  file.insert(file.size() - 2, 1, '\x12');
  const std::string odd = dir.file("odd.jpg");
  WriteAll(odd, file);
  PublishedSize size;
  std::string bytes;
  ASSERT_TRUE(Succeeded(PlanPublishedPicture(odd, 300, 0, 0, size)));
  CountStarts count;
  JpegInfo info;
  if (StreamJpegFile(odd, count, info, 300).ok()) {
    ASSERT_EQ(count.starts, 2);
    ASSERT_TRUE(Succeeded(EncodePublishedPicture(odd, size, 85, false, bytes)));
    EXPECT_EQ(bytes, WholeWay(odd, size, false));
  } else {
    EXPECT_FALSE(EncodePublishedPicture(odd, size, 85, false, bytes).ok());
  }
}

TEST(PublishedEncode, DamageAndMissingSizesFailWithTheFileNamed) {
  TempDir dir;
  const std::string path = dir.file("p.jpg");
  MakeJpeg(path, 640, 480);
  std::string bytes;
  Bitmap picture;
  // No size to reduce to: an error, not a reduction into nothing.
  for (const PublishedSize size : {PublishedSize{true, 0, 10}, PublishedSize{true, 10, 0}}) {
    const Status reduced = ReducePublishedPicture(path, size, picture);
    EXPECT_FALSE(reduced.ok());
    EXPECT_EQ(reduced.code(), ErrorCode::BadValue);
    EXPECT_NE(reduced.reason().find("p.jpg"), std::string::npos) << reduced.reason();
    EXPECT_TRUE(picture.empty());
    const Status encoded = EncodePublishedPicture(path, size, 85, false, bytes);
    EXPECT_FALSE(encoded.ok());
    EXPECT_NE(encoded.reason().find("p.jpg"), std::string::npos) << encoded.reason();
  }
  // Damage half-way: the encoding thread is stopped, the decode's error told.
  std::string file = ReadAll(path);
  file.resize(file.size() * 2 / 3);
  const std::string cut = dir.file("cut.jpg");
  WriteAll(cut, file);
  const Status encoded = EncodePublishedPicture(cut, PublishedSize{true, 200, 150}, 85, false, bytes);
  EXPECT_FALSE(encoded.ok());
  EXPECT_EQ(encoded.code(), ErrorCode::Damaged);
  EXPECT_NE(encoded.reason().find("cut.jpg"), std::string::npos) << encoded.reason();
  EXPECT_FALSE(ReducePublishedPicture(cut, PublishedSize{true, 200, 150}, picture).ok());
}

// Rows fed in uneven batches give EncodeJpeg's bytes, in colour and grey.
TEST(JpegRowEncoder, RowsFedInBatchesGiveTheWholePicturesBytes) {
  const std::vector<JpegSegment> segments = {{0xFE, "a comment"}, {0xE1, std::string("Exif\0\0II*\0", 10)}};
  Bitmap colour = PatternPicture(75, 41);
  Bitmap grey = Bitmap::Create(75, 41, 8);
  grey.palette = Bitmap::GreyPalette();
  for (size_t i = 0; i < grey.data.size(); ++i) grey.data[i] = colour.data[3 * i + 1];
  for (const Bitmap* picture : {&colour, &grey}) {
    SCOPED_TRACE(picture->bitsPerPixel);
    std::string whole;
    ASSERT_TRUE(Succeeded(EncodeJpeg(*picture, 85, segments, whole)));
    JpegRowEncoder encoder;
    ASSERT_TRUE(Succeeded(encoder.start(picture->width, picture->height, picture->bitsPerPixel / 8, 85, segments)));
    std::vector<const uint8_t*> rows;
    for (int y = 0; y < picture->height; ++y) rows.push_back(picture->row(y));
    int y = 0;
    for (const int batch : {1, 7, 16}) {
      ASSERT_TRUE(Succeeded(encoder.write(rows.data() + y, batch)));
      y += batch;
    }
    std::string bytes;
    EXPECT_FALSE(encoder.finish(bytes).ok());  // rows are missing
    EXPECT_FALSE(encoder.status().reason().empty());
    EXPECT_EQ(encoder.status().code(), ErrorCode::BadValue);

    ASSERT_TRUE(Succeeded(encoder.start(picture->width, picture->height, picture->bitsPerPixel / 8, 85, segments)));
    y = 0;
    for (const int batch : {1, 7, 16, 17}) {
      ASSERT_TRUE(Succeeded(encoder.write(rows.data() + y, batch)));
      y += batch;
    }
    EXPECT_FALSE(encoder.write(rows.data(), 1).ok());  // one more than the picture has
    EXPECT_FALSE(encoder.finish(bytes).ok());

    ASSERT_TRUE(Succeeded(encoder.start(picture->width, picture->height, picture->bitsPerPixel / 8, 85, segments)));
    ASSERT_TRUE(Succeeded(encoder.write(rows.data(), picture->height)));
    ASSERT_TRUE(Succeeded(encoder.finish(bytes)));
    EXPECT_EQ(bytes, whole);
  }
}

// A grey picture goes in as planes with the chroma left neutral; its edges
// must be padded as libjpeg pads a colour picture, at every size of the last
// block and MCU row.
TEST(JpegRowEncoder, GreyAtEveryEdgeGivesTheColourCopysBytes) {
  for (const int w : {1, 7, 8, 9, 15, 16, 17, 40}) {
    for (const int h : {1, 8, 15, 16, 17, 33}) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
      const Bitmap colour = PatternPicture(w, h, 3);
      Bitmap grey = Bitmap::Create(w, h, 8);
      grey.palette = Bitmap::GreyPalette();
      for (size_t i = 0; i < grey.data.size(); ++i) grey.data[i] = colour.data[3 * i];
      std::string whole, bytes;
      ASSERT_TRUE(Succeeded(EncodeJpeg(grey, 85, whole)));
      JpegRowEncoder encoder;
      ASSERT_TRUE(Succeeded(encoder.start(w, h, 1, 85, {})));
      for (int y = 0; y < h; ++y) {
        const uint8_t* row = grey.row(y);
        ASSERT_TRUE(Succeeded(encoder.write(&row, 1)));
      }
      ASSERT_TRUE(Succeeded(encoder.finish(bytes)));
      EXPECT_EQ(bytes, whole);
    }
  }
}

TEST(JpegRowEncoder, RefusesWhatEncodeJpegRefuses) {
  JpegRowEncoder encoder;
  EXPECT_FALSE(encoder.start(10, 10, 3, 85, {{0xFE, std::string(65534, 'x')}}).ok());
  EXPECT_EQ(encoder.status().reason(), "a metadata segment is too long");
  EXPECT_EQ(encoder.status().code(), ErrorCode::TooLarge);
  EXPECT_FALSE(encoder.start(0, 10, 3, 85, {}).ok());
  EXPECT_EQ(encoder.status().reason(), "empty picture");
  EXPECT_FALSE(encoder.start(10, 10, 4, 85, {}).ok());
  const uint8_t row[30] = {};
  const uint8_t* rows[1] = {row};
  EXPECT_FALSE(encoder.write(rows, 1).ok());  // never started
  std::string bytes = "kept";
  EXPECT_FALSE(encoder.finish(bytes).ok());
  EXPECT_EQ(bytes, "kept");
}

}  // namespace
}  // namespace pictavo
