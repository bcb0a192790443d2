#include <gtest/gtest.h>

#include <cmath>

#include "album/thumbnail.h"
#include "fixtures.h"

namespace pictavo {
namespace {

// The reduction exactly as described for the in-place version: average into
// the picture itself, then cut the top-left corner.
Bitmap ReferenceReduce(Bitmap img, int tw, int th) {
  const int w = img.width, h = img.height;
  const long double rx = static_cast<long double>(w) / tw, ry = static_cast<long double>(h) / th;
  const double s = ry >= rx ? static_cast<double>(static_cast<long double>(th) / h)
                            : static_cast<double>(static_cast<long double>(tw) / w);
  const long double q = 1.0L / s;
  std::vector<long long> sr(2001), sg(2001), sb(2001), n(2001);
  for (long long k = 1; std::truncl(q * k) <= h; ++k) {
    std::vector<bool> used(2001, false);
    for (long long y = static_cast<long long>(std::truncl(q * (k - 1))); y < static_cast<long long>(std::truncl(q * k)); ++y) {
      for (long long j = 1; std::truncl(q * j) <= w; ++j) {
        for (long long x = static_cast<long long>(std::truncl(q * (j - 1))); x < static_cast<long long>(std::truncl(q * j)); ++x) {
          const uint8_t* p = img.row(static_cast<int>(y)) + 3 * x;
          sr[j - 1] += p[0];
          sg[j - 1] += p[1];
          sb[j - 1] += p[2];
        }
        n[j - 1] += static_cast<long long>(std::truncl(q * j)) - static_cast<long long>(std::truncl(q * (j - 1)));
        used[j - 1] = true;
      }
    }
    for (size_t i = 0; i < used.size(); ++i) {
      if (!used[i]) continue;
      uint8_t* d = img.row(static_cast<int>(k - 1)) + 3 * i;
      d[0] = static_cast<uint8_t>(sr[i] / n[i]);
      d[1] = static_cast<uint8_t>(sg[i] / n[i]);
      d[2] = static_cast<uint8_t>(sb[i] / n[i]);
      sr[i] = sg[i] = sb[i] = n[i] = 0;
    }
  }
  const int cw = static_cast<int>(std::truncl(w * static_cast<long double>(s)));
  const int ch = static_cast<int>(std::truncl(h * static_cast<long double>(s)));
  Bitmap out = Bitmap::Create(cw, ch, 24);
  for (int y = 0; y < ch; ++y) std::copy(img.row(y), img.row(y) + 3 * cw, out.row(y));
  return out;
}

Bitmap ReferenceSharpen(const Bitmap& src) {
  Bitmap dst = src;
  const double nb = -0.1, centre = 1 - 8 * nb;
  for (int y = 1; y <= src.height - 2; ++y) {
    for (int x = 1; x <= src.width - 2; ++x) {
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            if (dx || dy) sum += src.row(y + dy)[3 * (x + dx) + c];
          }
        }
        double v = centre * src.row(y)[3 * x + c] + nb * sum;
        v = std::min(255.0, std::max(0.0, v));
        dst.row(y)[3 * x + c] = static_cast<uint8_t>(std::nearbyint(v));
      }
    }
  }
  return dst;
}

void ExpectSamePixels(const Bitmap& a, const Bitmap& b) {
  ASSERT_EQ(a.width, b.width);
  ASSERT_EQ(a.height, b.height);
  for (int y = 0; y < a.height; ++y) {
    ASSERT_TRUE(std::equal(a.row(y), a.row(y) + a.stride, b.row(y))) << "row " << y;
  }
}

TEST(ThumbnailFilter, MatchesTheInPlaceReduction) {
  const int sizes[][4] = {{1600, 1000, 110, 150}, {1000, 1600, 110, 150}, {333, 127, 110, 150},
                          {151, 150, 110, 150}, {2000, 37, 110, 150},   {640, 480, 160, 120},
                          {197, 1003, 10, 10},   {1024, 768, 1000, 1000}, {700, 700, 110, 150}};
  unsigned seed = 1;
  for (const auto& z : sizes) {
    SCOPED_TRACE(testing::Message() << z[0] << "x" << z[1] << " in " << z[2] << "x" << z[3]);
    const Bitmap pic = PatternPicture(z[0], z[1], seed++);
    ExpectSamePixels(FilterReduce(pic, z[2], z[3]), ReferenceReduce(pic, z[2], z[3]));
  }
}

TEST(ThumbnailFilter, SizesOfTheCut) {
  const Bitmap pic = PatternPicture(1600, 1000);
  const Bitmap t = FilterReduce(pic, 110, 150);
  EXPECT_EQ(t.width, 110);
  EXPECT_EQ(t.height, 68);  // Trunc(68.75), while the page states 69
  EXPECT_DOUBLE_EQ(FilterScale(1600, 1000, 110, 150), 0.06875);
  // A sliver narrower than one thumbnail pixel still gives a picture to encode.
  const Bitmap sliver = FilterReduce(PatternPicture(97, 1003), 10, 10);
  EXPECT_EQ(sliver.width, 1);
  EXPECT_EQ(sliver.height, 10);
}

TEST(ThumbnailFilter, SharpeningMatchesTheFormulaAndClamps) {
  Bitmap white = Bitmap::Create(5, 5, 24);
  std::fill(white.data.begin(), white.data.end(), 255);
  uint8_t* centre = white.row(2) + 6;
  centre[0] = centre[1] = centre[2] = 0;
  const Bitmap sharp = Sharpen(white);
  EXPECT_EQ(sharp.row(2)[6], 0);      // 1.8 * 0 - 0.1 * 8 * 255 < 0
  EXPECT_EQ(sharp.row(1)[3], 255);    // brightened past 255 and held there
  EXPECT_EQ(sharp.row(0)[0], 255);    // border unchanged
  for (unsigned seed = 1; seed < 4; ++seed) {
    const Bitmap pic = PatternPicture(23 + seed, 17, seed);
    ExpectSamePixels(Sharpen(pic), ReferenceSharpen(pic));
  }
  const Bitmap tiny = PatternPicture(2, 9);
  ExpectSamePixels(Sharpen(tiny), tiny);
}

TEST(ThumbnailFilter, FlatColourStaysFlat) {
  Bitmap pic = Bitmap::Create(900, 700, 24);
  for (size_t i = 0; i < pic.data.size(); i += 3) {
    pic.data[i] = 12;
    pic.data[i + 1] = 200;
    pic.data[i + 2] = 99;
  }
  const Bitmap t = FilterThumbnail(pic, 110, 150, 900.0L / 110);
  for (size_t i = 0; i < t.data.size(); i += 3) {
    ASSERT_EQ(t.data[i], 12);
    ASSERT_EQ(t.data[i + 1], 200);
    ASSERT_EQ(t.data[i + 2], 99);
  }
}

TEST(ThumbnailFilter, SharpensOnlyStrongReductions) {
  const Bitmap pic = PatternPicture(200, 150);
  const long double r = 200.0L / 110;  // below 3
  ExpectSamePixels(FilterThumbnail(pic, 110, 150, r), FilterReduce(pic, 110, 150));
  const Bitmap big = PatternPicture(600, 450);
  ExpectSamePixels(FilterThumbnail(big, 110, 150, 600.0L / 110), Sharpen(FilterReduce(big, 110, 150)));
  // A greyscale picture is made 24-bit first.
  Bitmap grey = Bitmap::Create(400, 300, 8);
  grey.palette = Bitmap::GreyPalette();
  for (size_t i = 0; i < grey.data.size(); ++i) grey.data[i] = static_cast<uint8_t>(i * 7);
  const Bitmap g = FilterThumbnail(grey, 110, 150, 400.0L / 110);
  EXPECT_EQ(g.bitsPerPixel, 24);
  ExpectSamePixels(g, Sharpen(FilterReduce(ToRgb24(grey), 110, 150)));
}

TEST(StretchSample, TakesTheCentreSamplePixel) {
  Bitmap src = Bitmap::Create(4, 2, 24);
  for (int x = 0; x < 4; ++x) src.row(0)[3 * x] = static_cast<uint8_t>(10 * x), src.row(1)[3 * x] = static_cast<uint8_t>(100 + x);
  const Bitmap half = StretchSample(src, 2, 1);
  // dx 0 -> floor(1*4/4) = 1; dx 1 -> floor(3*4/4) = 3; dy 0 -> floor(1*2/2) = 1.
  EXPECT_EQ(half.row(0)[0], 101);
  EXPECT_EQ(half.row(0)[3], 103);
  const Bitmap wide = StretchSample(src, 8, 2);  // enlarging repeats pixels
  EXPECT_EQ(wide.row(0)[0], 0);
  EXPECT_EQ(wide.row(0)[3], 0);
  EXPECT_EQ(wide.row(0)[6], 10);
}

TEST(Orientation, TurnsPicturesUpright) {
  // 3 x 2 picture with distinct pixels; orientation 6 means "turn right to view".
  Bitmap src = Bitmap::Create(3, 2, 24);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) src.row(y)[3 * x] = static_cast<uint8_t>(10 * y + x);
  const Bitmap r = ApplyOrientation(src, 6);
  ASSERT_EQ(r.width, 2);
  ASSERT_EQ(r.height, 3);
  EXPECT_EQ(r.row(0)[0], 10);  // bottom-left comes to the top-left
  EXPECT_EQ(r.row(0)[3], 0);
  const Bitmap l = ApplyOrientation(src, 8);
  EXPECT_EQ(l.row(0)[0], 2);   // top-right comes to the top-left
  ExpectSamePixels(ApplyOrientation(ApplyOrientation(src, 3), 3), src);
  ExpectSamePixels(ApplyOrientation(src, 1), src);
}

}  // namespace
}  // namespace pictavo
