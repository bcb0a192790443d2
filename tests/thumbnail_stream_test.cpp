// Streaming thumbnail making against the straightforward way (full decode,
// turn upright, stretch or filter), and the decoder behaviour it rests on.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "album/thumbnail_stream.h"
#include "image/jpeg.h"
#include "fixtures.h"
#include "test_util.h"
#include "status_testing.h"

namespace pictavo {
namespace {

struct Sampling {
  const char* name;
  int h, v;
  bool grey;
};
const Sampling kSamplings[] = {{"444", 1, 1, false}, {"422", 2, 1, false}, {"420", 2, 2, false},
                               {"440", 1, 2, false}, {"grey", 1, 1, true}};

// The pattern picture with noise in every channel, so that a greyscale file
// (made from green) shows a wrong sampling or upsampling too.
void WriteBusyJpeg(const std::string& path, int w, int h, const JpegOptions& o) {
  Bitmap b = PatternPicture(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.row(y)[3 * x + 1] = static_cast<uint8_t>(b.row(y)[3 * x + 1] ^ b.row(y)[3 * x + 2]);
  }
  WriteTestJpeg(path, b, o);
}

void ExpectSame(const std::string& path, const ThumbnailJob& job, const std::string& what) {
  StreamedThumbnail full, streamed;
  ASSERT_TRUE(Succeeded(MakeThumbnailFull(path, job, full))) << what;
  ASSERT_TRUE(Succeeded(MakeThumbnailStreaming(path, job, streamed))) << what;
  EXPECT_EQ(streamed.width, full.width) << what;
  EXPECT_EQ(streamed.height, full.height) << what;
  EXPECT_EQ(streamed.path, full.path) << what;
  const Bitmap& a = full.thumbnail;
  const Bitmap& b = streamed.thumbnail;
  ASSERT_EQ(b.width, a.width) << what;
  ASSERT_EQ(b.height, a.height) << what;
  EXPECT_EQ(b.bitsPerPixel, a.bitsPerPixel) << what;
  EXPECT_EQ(b.palette, a.palette) << what;
  EXPECT_TRUE(b.data == a.data) << what;
}

class RowCollector : public JpegRowConsumer {
 public:
  explicit RowCollector(std::vector<int> wanted) : m_wanted(std::move(wanted)) {}
  void start(const JpegInfo& header) override { info = header; }
  int nextRow(int y) override {
    for (int w : m_wanted) {
      if (w >= y) return w;
    }
    return info.height;
  }
  void takeRow(int y, const uint8_t* pixels) override {
    rows.emplace_back(y, std::vector<uint8_t>(pixels, pixels + 3 * static_cast<size_t>(info.width)));
  }
  JpegInfo info;
  std::vector<std::pair<int, std::vector<uint8_t>>> rows;

 private:
  std::vector<int> m_wanted;
};

// Exactness rests on the decoder's defaults: with fancy upsampling at full
// scale and the accurate DCT, rows after jpeg_skip_scanlines equal those of
// a full decode. Other settings (plain upsampling, DCT scaling, the fast
// DCT) give different rows, so a change to them must fail here.
TEST(ThumbnailStream, DecoderKeepsTheSettingsExactnessNeeds) {
  TempDir dir;
  for (const Sampling& s : kSamplings) {
    if (s.grey) continue;
    JpegOptions o;
    o.lumaH = s.h;
    o.lumaV = s.v;
    const std::string path = dir.file(std::string(s.name) + ".jpg");
    WriteBusyJpeg(path, 301, 131, o);
    Bitmap full;
    JpegInfo fullInfo;
    ASSERT_TRUE(Succeeded(DecodeJpegFile(path, full, fullInfo)));
    EXPECT_TRUE(fullInfo.fancyUpsampling);
    EXPECT_TRUE(fullInfo.accurateDct);
    EXPECT_EQ(fullInfo.scaleNum, 1);
    EXPECT_EQ(fullInfo.scaleDenom, 1);
    // Rows around iMCU boundaries, lone rows, runs, the last row.
    const std::vector<std::vector<int>> patterns = {
        {0, 1, 2, 3}, {7, 8, 9}, {15, 16, 17}, {31, 32, 47, 48, 63, 64}, {100}, {5, 40, 41, 90, 129, 130}, {130}};
    for (const auto& pattern : patterns) {
      RowCollector c(pattern);
      ASSERT_TRUE(Succeeded(StreamJpegFile(path, c, c.info)));
      EXPECT_TRUE(c.info.fancyUpsampling);
      EXPECT_TRUE(c.info.accurateDct);
      EXPECT_EQ(c.info.scaleNum, 1);
      EXPECT_EQ(c.info.scaleDenom, 1);
      ASSERT_EQ(c.rows.size(), pattern.size());
      for (const auto& [y, pixels] : c.rows) {
        EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), full.row(y))) << s.name << " row " << y;
      }
    }
  }
}

// Every sampling factor, baseline and progressive, restart markers, every
// orientation, both paths, boxes that enlarge, reduce a little (no
// sharpening) and reduce a lot (sharpening, most rows skipped).
TEST(ThumbnailStream, MatchesFullDecodeEverywhere) {
  TempDir dir;
  const int boxes[][2] = {{110, 150}, {300, 200}, {37, 23}, {1000, 900}};
  int files = 0;
  for (const Sampling& s : kSamplings) {
    for (bool progressive : {false, true}) {
      for (int orientation = 1; orientation <= 8; ++orientation) {
        JpegOptions o;
        o.lumaH = s.h;
        o.lumaV = s.v;
        o.grey = s.grey;
        o.progressive = progressive;
        o.restartRows = (orientation % 3 == 1) ? 1 : 0;
        o.orientation = orientation;
        // Sizes that are not multiples of 16, landscape and portrait.
        const int w = orientation % 2 ? 261 : 141, h = orientation % 2 ? 173 : 283;
        const std::string path = dir.file("p" + std::to_string(files++) + ".jpg");
        WriteBusyJpeg(path, w, h, o);
        for (const auto& box : boxes) {
          for (bool filter : {false, true}) {
            ThumbnailJob job;
            job.tw = box[0];
            job.th = box[1];
            job.filter = filter;
            ExpectSame(path, job,
                       std::string(s.name) + (progressive ? " progressive" : " baseline") + " orientation " +
                           std::to_string(orientation) + " box " + std::to_string(box[0]) + "x" +
                           std::to_string(box[1]) + (filter ? " filter " : " normal "));
          }
        }
      }
    }
  }
}

// Slivers: a band count below the cut leaves cells that keep the picture's
// own pixels; one-pixel pictures; a picture exactly the box's size.
TEST(ThumbnailStream, MatchesFullDecodeOnOddShapes) {
  TempDir dir;
  const int shapes[][2] = {{2000, 5}, {5, 2000}, {1, 1}, {110, 150}, {111, 1}, {17, 33}};
  int files = 0;
  for (const auto& shape : shapes) {
    for (int orientation : {1, 3, 6, 7}) {
      JpegOptions o;
      o.orientation = orientation;
      const std::string path = dir.file("s" + std::to_string(files++) + ".jpg");
      WriteBusyJpeg(path, shape[0], shape[1], o);
      for (bool filter : {false, true}) {
        ThumbnailJob job;
        job.filter = filter;
        ExpectSame(path, job, std::to_string(shape[0]) + "x" + std::to_string(shape[1]) + " orientation " +
                                  std::to_string(orientation) + (filter ? " filter" : " normal"));
      }
    }
  }
}

// Damaged data fails on every path, even when no pixel is made (a kept
// thumbnail only needs the size, yet a damaged picture must still fail).
TEST(ThumbnailStream, DamagedDataFailsOnEveryPath) {
  TempDir dir;
  for (bool progressive : {false, true}) {
    JpegOptions o;
    o.progressive = progressive;
    WriteBusyJpeg(dir.file("good.jpg"), 400, 300, o);
    const std::string good = ReadAll(dir.file("good.jpg"));
    std::string flipped = good;
    for (size_t i = good.size() / 2; i < good.size() / 2 + 64; ++i) flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    const std::string damaged[] = {good.substr(0, good.size() / 2), good.substr(0, good.size() - 2), flipped};
    for (size_t d = 0; d < std::size(damaged); ++d) {
      const std::string path = dir.file("d" + std::to_string(d) + ".jpg");
      WriteAll(path, damaged[d]);
      for (int mode = 0; mode < 3; ++mode) {
        ThumbnailJob job;
        job.filter = mode == 1;
        job.keepExisting = mode == 2;
        StreamedThumbnail full, streamed;
        const Status s1 = MakeThumbnailFull(path, job, full);
        const Status s2 = MakeThumbnailStreaming(path, job, streamed);
        EXPECT_FALSE(s1.ok()) << "damage " << d << " mode " << mode << (progressive ? " progressive" : "");
        EXPECT_FALSE(s2.ok()) << "damage " << d << " mode " << mode << (progressive ? " progressive" : "");
        EXPECT_EQ(s1.code(), ErrorCode::Damaged) << s1.reason();
        EXPECT_EQ(s2.code(), ErrorCode::Damaged) << s2.reason();
        EXPECT_TRUE(streamed.thumbnail.empty());
      }
    }
  }
  StreamedThumbnail out;
  const Status missing = MakeThumbnailStreaming(dir.file("missing.jpg"), {}, out);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.code(), ErrorCode::NotFound);
  EXPECT_NE(missing.reason().find("missing.jpg"), std::string::npos);
  WriteAll(dir.file("text.jpg"), "not a picture");
  EXPECT_FALSE(MakeThumbnailStreaming(dir.file("text.jpg"), {}, out).ok());
}

// Narrow and flat pictures: rows of blocks so small that they encode to
// fewer bits than the rewrite's writer holds back, and chroma so narrow that
// libjpeg upsamples it without context rows. Strips and banners of every
// sampling, flat and busy, progressive with libjpeg's full progression
// (rewritten) and with bits never sent (decoded the usual way), and baseline.
TEST(ThumbnailStream, ProgressiveStripsMatchFullDecode) {
  TempDir dir;
  const Sampling samplings[] = {{"grey", 1, 1, true}, {"444", 1, 1, false}, {"422", 2, 1, false}, {"420", 2, 2, false}};
  const int widths[] = {1, 2, 7, 9, 16, 23, 40, 64};
  const int heights[] = {9, 17, 100, 1000, 9000};
  int files = 0;
  for (const Sampling& s : samplings) {
    for (bool flat : {true, false}) {
      for (const char* kind : {"complete", "incomplete", "baseline"}) {
        const bool complete = kind[0] == 'c';
        for (int w : widths) {
          for (int h : heights) {
            if (h == 9000 && w > 16 && !flat) continue;  // the tall busy strips need only the narrow widths
            JpegOptions o;
            o.lumaH = s.h;
            o.lumaV = s.v;
            o.grey = s.grey;
            o.progressive = kind[0] != 'b';
            if (!complete && o.progressive) {
              o.scans = s.grey ? std::vector<ScanSpec>{{{0}, 0, 0, 0, 1}, {{0}, 1, 63, 0, 1}}
                               : std::vector<ScanSpec>{{{0, 1, 2}, 0, 0, 0, 1}, {{0}, 1, 63, 0, 1},
                                                       {{1}, 1, 63, 0, 0}, {{2}, 1, 63, 0, 0}};
            }
            const std::string path = dir.file("strip" + std::to_string(files++) + ".jpg");
            if (flat) {
              Bitmap b = PatternPicture(w, h);
              std::fill(b.data.begin(), b.data.end(), uint8_t{128});
              WriteTestJpeg(path, b, o);
            } else {
              WriteBusyJpeg(path, w, h, o);
            }
            for (bool filter : {false, true}) {
              ThumbnailJob job;
              job.filter = filter;
              ExpectSame(path, job,
                         std::string(s.name) + (flat ? " flat " : " busy ") + kind + " " +
                             std::to_string(w) + "x" + std::to_string(h) + (filter ? " filter" : " normal"));
            }
          }
        }
      }
    }
  }
}

// Files that once broke the rewrite: a flat 8 x 16 grey picture, a tall
// grey gradient, and strips cut from a photograph.
TEST(ThumbnailStream, KeptProgressiveStripsMatchFullDecode) {
  const std::string folder = std::string(PICTAVO_SOURCE_DIR) + "/tests/data/progressive-strips/";
  for (const char* name : {"flat-grey-8x16.jpg", "gradient-grey-40x5000.jpg", "photo-grey-16x6000.jpg",
                           "photo-422-16x6000.jpg"}) {
    for (bool filter : {false, true}) {
      ThumbnailJob job;
      job.filter = filter;
      ExpectSame(folder + name, job, std::string(name) + (filter ? " filter" : " normal"));
    }
  }
}

TEST(ThumbnailStream, KeptThumbnailStillYieldsTheUprightSize) {
  TempDir dir;
  JpegOptions o;
  o.orientation = 6;
  MakeJpeg(dir.file("a.jpg"), 320, 200, o);
  ThumbnailJob job;
  job.keepExisting = true;
  StreamedThumbnail out;
  ASSERT_TRUE(Succeeded(MakeThumbnailStreaming(dir.file("a.jpg"), job, out)));
  EXPECT_EQ(out.path, ThumbnailPath::Kept);
  EXPECT_EQ(out.width, 200);
  EXPECT_EQ(out.height, 320);
  EXPECT_TRUE(out.thumbnail.empty());
}

}  // namespace
}  // namespace pictavo
