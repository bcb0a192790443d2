// Taking the location out of a picture's metadata, and the published size
// and reduction of a picture.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "fixtures.h"
#include "image/jpeg.h"
#include "publish/location.h"
#include "publish/manifest.h"
#include "publish/published_picture.h"
#include "publish_fixtures.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

TEST(Location, ExifGpsDirectoryGoesOtherTagsStay) {
  for (const bool little : {true, false}) {
    SCOPED_TRACE(little ? "little-endian" : "big-endian");
    std::string exif = TestExif(6, true, little);
    const size_t size = exif.size();
    ASSERT_TRUE(HasExifLocation(exif));
    EXPECT_TRUE(StripExifLocation(exif));
    EXPECT_EQ(exif.size(), size);
    EXPECT_FALSE(HasExifLocation(exif));
    EXPECT_EQ(exif.find(kTestLatitudeBytes(little)), std::string::npos) << "the latitude's values are still there";
    EXPECT_NE(exif.find("TestCam"), std::string::npos);
    EXPECT_EQ(ParseExifOrientation(reinterpret_cast<const uint8_t*>(exif.data()), exif.size()), 6);
    EXPECT_FALSE(StripExifLocation(exif));  // nothing left to take
  }
  std::string none = TestExif(1, false, true);
  const std::string before = none;
  EXPECT_FALSE(HasExifLocation(none));
  EXPECT_FALSE(StripExifLocation(none));
  EXPECT_EQ(none, before);
  // Cut anywhere, the payload is handled inside its bounds and never grows.
  const std::string whole = TestExif(6, true, true);
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    std::string part = whole.substr(0, cut);
    (void)StripExifLocation(part);
    EXPECT_EQ(part.size(), cut);
    EXPECT_FALSE(HasExifLocation(part));
  }
}

TEST(Location, XmpLocationPropertiesAreBlankedTheRestKept) {
  std::string xmp = TestXmp(true);
  const size_t size = xmp.size();
  ASSERT_TRUE(HasXmpLocation(xmp));
  EXPECT_TRUE(StripXmpLocation(xmp));
  EXPECT_EQ(xmp.size(), size);
  EXPECT_FALSE(HasXmpLocation(xmp));
  for (const char* gone : {"35,41.0N", "139,42.0E", "Tokyo", "GPSAltitude", "LocationCreated", "Shibuya"}) {
    EXPECT_EQ(xmp.find(gone), std::string::npos) << gone;
  }
  for (const char* kept : {"Taro Yamada", "xmp:CreateDate=\"2026-05-01T10:00:00\"", "</rdf:RDF>", "<dc:creator>",
                           "</x:xmpmeta>"}) {
    EXPECT_NE(xmp.find(kept), std::string::npos) << kept;
  }
  std::string clean = TestXmp(false);
  const std::string before = clean;
  EXPECT_FALSE(StripXmpLocation(clean));
  EXPECT_EQ(clean, before);
  // Markup that never ends loses what follows its location property, not its bounds.
  for (std::string broken : {std::string(kXmpHeader) + "<a exif:GPSLatitude=\"35", std::string(kXmpHeader) +
                                                                                        "<exif:GPSLatitude>35<b>"}) {
    const size_t n = broken.size();
    EXPECT_TRUE(StripXmpLocation(broken));
    EXPECT_EQ(broken.size(), n);
    EXPECT_FALSE(HasXmpLocation(broken));
  }
}

TEST(Location, AFileHeadIsRewrittenWithoutTouchingThePictureData) {
  TempDir dir;
  const std::string path = dir.file("gps.jpg");
  WriteJpegWithMetadata(path, PatternPicture(40, 30), 6, true);
  const std::string file = ReadAll(path);
  std::string head;
  size_t replaced = 0;
  HeadResult result = HeadResult::Unchanged;
  ASSERT_TRUE(Succeeded(StripJpegHeadLocation(file, true, head, replaced, result)));
  ASSERT_EQ(result, HeadResult::Rewritten);
  const std::string published = head + file.substr(replaced);
  EXPECT_EQ(published.size(), file.size() - TestExtendedXmpSegmentSize());  // the extended packet goes
  EXPECT_EQ(file.substr(file.find("\xFF\xDA")), published.substr(published.find("\xFF\xDA")));
  Bitmap a, b;
  JpegInfo ia, ib;
  ASSERT_TRUE(Succeeded(DecodeJpegMemory(reinterpret_cast<const uint8_t*>(file.data()), file.size(), a, ia)));
  ASSERT_TRUE(Succeeded(DecodeJpegMemory(reinterpret_cast<const uint8_t*>(published.data()), published.size(), b, ib)));
  EXPECT_EQ(a.data, b.data);
  EXPECT_EQ(ib.orientation, 6);
  EXPECT_FALSE(CarriesLocation(published));
  EXPECT_TRUE(CarriesLocation(file));
  EXPECT_NE(published.find("ICC_PROFILE"), std::string::npos);

  // A head cut short asks for more; a file without a location is left as it is.
  EXPECT_TRUE(Succeeded(StripJpegHeadLocation(std::string_view(file).substr(0, 100), false, head, replaced, result)));
  EXPECT_EQ(result, HeadResult::NeedMore);
  const Status cut = StripJpegHeadLocation(std::string_view(file).substr(0, 100), true, head, replaced, result);
  EXPECT_FALSE(cut.ok());
  EXPECT_EQ(cut.code(), ErrorCode::Damaged);
  EXPECT_EQ(cut.reason(), "no picture data");
  EXPECT_TRUE(Succeeded(StripJpegHeadLocation(published, true, head, replaced, result)));
  EXPECT_EQ(result, HeadResult::Unchanged);
  const Status gif = StripJpegHeadLocation("GIF89a", true, head, replaced, result);
  EXPECT_FALSE(gif.ok());
  EXPECT_EQ(gif.reason(), "not a JPEG file");
}

TEST(PublishedPicture, SizeFitsTheBoxUnlessASlideShowNeedsMore) {
  auto size = [](int w, int h, int max, long long sw = 0, long long sh = 0) {
    const PublishedSize s = PublishedSizeFor(w, h, max, sw, sh);
    return std::to_string(s.reduce) + " " + std::to_string(s.width) + "x" + std::to_string(s.height);
  };
  EXPECT_EQ(size(4000, 3000, 2048), "1 2048x1536");
  EXPECT_EQ(size(3000, 4000, 2048), "1 1536x2048");
  EXPECT_EQ(size(6000, 4000, 2048), "1 2048x1365");
  EXPECT_EQ(size(2048, 1000, 2048), "0 2048x1000");  // fits exactly: as it is
  EXPECT_EQ(size(5000, 10, 2048), "1 2048x4");
  EXPECT_EQ(size(100000, 10, 2048), "1 2048x1");     // never below one pixel
  // A slide show with its limit off shows the picture at full size: it stays.
  EXPECT_EQ(size(4000, 3000, 2048, 4000, 3000), "0 4000x3000");
  // Its limit at 1000 x 750 needs no more than the box gives.
  EXPECT_EQ(size(4000, 3000, 2048, 1000, 750), "1 2048x1536");
  // Its limit above the box: the copy keeps the slide show's size.
  EXPECT_EQ(size(4000, 3000, 800, 1000, 750), "1 1000x750");
}

TEST(PublishedPicture, AreaAveragingKeepsFlatAreasAndAveragesBlocks) {
  Bitmap flat = Bitmap::Create(97, 61, 24);
  for (size_t i = 0; i < flat.data.size(); i += 3) {
    flat.data[i] = 200, flat.data[i + 1] = 10, flat.data[i + 2] = 77;
  }
  const Bitmap small = AreaResize(flat, 13, 7);
  ASSERT_EQ(small.width, 13);
  ASSERT_EQ(small.height, 7);
  for (size_t i = 0; i < small.data.size(); i += 3) {
    ASSERT_EQ(small.data[i], 200);
    ASSERT_EQ(small.data[i + 1], 10);
    ASSERT_EQ(small.data[i + 2], 77);
  }
  // Each 2 x 2 block becomes its mean; grey keeps its palette.
  Bitmap grey = Bitmap::Create(4, 2, 8);
  grey.palette = Bitmap::GreyPalette();
  const uint8_t values[8] = {0, 100, 10, 30, 200, 50, 20, 40};
  std::copy(values, values + 4, grey.row(0));
  std::copy(values + 4, values + 8, grey.row(1));
  const Bitmap half = AreaResize(grey, 2, 1);
  EXPECT_EQ(half.bitsPerPixel, 8);
  EXPECT_EQ(half.palette, grey.palette);
  EXPECT_EQ(half.row(0)[0], 88);  // (0 + 100 + 200 + 50) / 4 = 87.5
  EXPECT_EQ(half.row(0)[1], 25);
}

TEST(PublishedPicture, AReducedPictureIsUprightWithItsMetadataAndNoLocation) {
  TempDir dir;
  const std::string path = dir.file("p.jpg");
  WriteJpegWithMetadata(path, PatternPicture(300, 200), 6, true);
  PublishedSize size;
  std::string bytes;
  ASSERT_TRUE(Succeeded(PlanPublishedPicture(path, 100, 0, 0, size)));
  EXPECT_EQ(size.width, 67);  // upright: 200 x 300
  EXPECT_EQ(size.height, 100);
  for (const bool keep : {false, true}) {
    ASSERT_TRUE(Succeeded(EncodePublishedPicture(path, size, 85, keep, bytes)));
    Bitmap out;
    JpegInfo info;
    ASSERT_TRUE(Succeeded(DecodeJpegMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, info)));
    EXPECT_EQ(out.width, 67);
    EXPECT_EQ(out.height, 100);
    EXPECT_EQ(info.orientation, 1);
    EXPECT_EQ(CarriesLocation(bytes), keep);
    EXPECT_NE(bytes.find("TestCam"), std::string::npos);
    EXPECT_NE(bytes.find("Taro Yamada"), std::string::npos);
    EXPECT_NE(bytes.find("ICC_PROFILE"), std::string::npos);
  }
  const Status missing = PlanPublishedPicture(dir.file("missing.jpg"), 100, 0, 0, size);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.code(), ErrorCode::NotFound);
}

// The reduction against the definition, in double precision: each output
// sample is the mean of the source under it, weighted by coverage.
TEST(PublishedPicture, AreaAveragingMatchesCoverageWeightedMeans) {
  for (const auto& [w, h, tw, th] : std::vector<std::array<int, 4>>{{97, 61, 50, 31}, {64, 48, 33, 47}, {30, 20, 45, 28}}) {
    const Bitmap src = PatternPicture(w, h);
    const Bitmap out = AreaResize(src, tw, th);
    const double sx = static_cast<double>(w) / tw, sy = static_cast<double>(h) / th;
    int worst = 0;
    for (int y = 0; y < th; ++y) {
      for (int x = 0; x < tw; ++x) {
        for (int c = 0; c < 3; ++c) {
          double sum = 0;
          for (int v = static_cast<int>(y * sy); v < h && v < (y + 1) * sy; ++v) {
            const double cy = std::min(v + 1.0, (y + 1) * sy) - std::max(static_cast<double>(v), y * sy);
            for (int u = static_cast<int>(x * sx); u < w && u < (x + 1) * sx; ++u) {
              const double cx = std::min(u + 1.0, (x + 1) * sx) - std::max(static_cast<double>(u), x * sx);
              sum += cx * cy * src.row(v)[3 * u + c];
            }
          }
          const int expected = static_cast<int>(std::lround(sum / (sx * sy)));
          worst = std::max(worst, std::abs(expected - out.row(y)[3 * x + c]));
        }
      }
    }
    EXPECT_LE(worst, 1) << w << "x" << h << " to " << tw << "x" << th;
  }
}

// The row-by-row reduction gives the pixels of the whole-picture way: the
// scaled decode held whole, area averaged, then turned upright.
TEST(PublishedPicture, StreamedReductionMatchesTheWholePictureWay) {
  TempDir dir;
  struct Case {
    int w, h, box;
    JpegOptions options;
    long long shownW = 0, shownH = 0;
  };
  JpegOptions h2v1, h1v1, grey, progressive, turned, progressiveTurned;
  h2v1.lumaV = 1;
  h1v1.lumaH = h1v1.lumaV = 1;
  grey.grey = true;
  progressive.progressive = true;
  turned.orientation = 6;
  progressiveTurned.progressive = true;
  progressiveTurned.orientation = 8;
  progressiveTurned.restartRows = 1;
  const std::vector<Case> cases = {
      {640, 480, 100, {}},          // 1/4, then 160 -> 100
      {641, 333, 300, h2v1},        // 1/2 with odd sides
      {517, 389, 517, h1v1},        // fits the longer side at full scale
      {400, 300, 70, grey},         // 1/4, greyscale
      {800, 600, 150, progressive}, // through the progressive rewrite
      {600, 450, 90, turned},       // turned after the reduction
      {720, 540, 200, progressiveTurned},
      {400, 300, 80, {}, 75, 75},   // a slide show's size: taller than the reduction
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " box " + std::to_string(c.box));
    const std::string path = dir.file("p.jpg");
    MakeJpeg(path, c.w, c.h, c.options);
    PublishedSize size;
    ASSERT_TRUE(Succeeded(PlanPublishedPicture(path, c.box, c.shownW, c.shownH, size)));
    Bitmap streamed;
    ASSERT_TRUE(Succeeded(ReducePublishedPicture(path, size, streamed)));

    Bitmap decoded;
    JpegInfo info;
    ASSERT_TRUE(Succeeded(DecodeJpegFileToCover(path, std::max(size.width, size.height), decoded, info)));
    const bool swap = info.orientation >= 5;
    Bitmap whole = AreaResize(decoded, swap ? size.height : size.width, swap ? size.width : size.height);
    if (info.orientation != 1) whole = ApplyOrientation(whole, info.orientation);

    ASSERT_EQ(streamed.width, size.width);
    ASSERT_EQ(streamed.height, size.height);
    ASSERT_EQ(streamed.bitsPerPixel, whole.bitsPerPixel);
    int worst = 0;
    for (int y = 0; y < whole.height; ++y) {
      for (size_t i = 0; i < whole.stride; ++i) worst = std::max(worst, std::abs(streamed.row(y)[i] - whole.row(y)[i]));
    }
    EXPECT_LE(worst, 1);
  }
  Bitmap none;
  const Status missing = ReducePublishedPicture(dir.file("missing.jpg"), PublishedSize{true, 10, 10}, none);
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.reason().find("missing.jpg"), std::string::npos);
}

TEST(PublishManifest, ReadsBackWhatItWroteAndDropsWhatItCannotTrust) {
  Manifest m;
  m["index.htm"] = {"page", 10, 20, 10, 20};
  m["htm_image/a b.jpg"] = {"copy strip", 1, 2, 3, 4};
  m["a.jpg"] = {"claimed", -1, -1, -1, -1};
  EXPECT_EQ(ParseManifest(FormatManifest(m)).size(), 3u);
  EXPECT_TRUE(ParseManifest(FormatManifest(m))["a.jpg"].claimed());
  const std::string hostile = std::string("pictavo-publish 1\n") + "../outside.jpg\tpage\t1\t1\t1\t1\n" +
                              "/etc/passwd\tpage\t1\t1\t1\t1\n" + "a//b\tpage\t1\t1\t1\t1\n" +
                              "ok.jpg\tpage\t1\t1\t1\n" + "ok.jpg\tpage\tx\t1\t1\t1\n" +
                              "./a.jpg\tpage\t1\t1\t1\t1\n" + "fine/b.jpg\tpage\t1\t1\t1\t1\n";
  const Manifest read = ParseManifest(hostile);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read.begin()->first, "fine/b.jpg");
  EXPECT_TRUE(ParseManifest("something else\nfine/b.jpg\tpage\t1\t1\t1\t1\n").empty());
}

}  // namespace
}  // namespace pictavo
