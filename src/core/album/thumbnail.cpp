#include "album/thumbnail.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "text/chars.h"

namespace pictavo {

Bitmap StretchSample(const Bitmap& src, int width, int height) {
  Bitmap out = Bitmap::Create(width, height, src.bitsPerPixel);
  out.palette = src.palette;
  const size_t bpp = static_cast<size_t>(src.bitsPerPixel / 8);
  const int64_t S = src.width, T = src.height;
  std::vector<size_t> columns(static_cast<size_t>(width));
  for (int dx = 0; dx < width; ++dx) {
    columns[static_cast<size_t>(dx)] = bpp * static_cast<size_t>(((2 * dx + 1) * S) / (2 * static_cast<int64_t>(width)));
  }
  for (int dy = 0; dy < height; ++dy) {
    const int sy = static_cast<int>(((2 * dy + 1) * T) / (2 * static_cast<int64_t>(height)));
    const uint8_t* s = src.row(sy);
    uint8_t* d = out.row(dy);
    for (int dx = 0; dx < width; ++dx) {
      std::memcpy(d + bpp * static_cast<size_t>(dx), s + columns[static_cast<size_t>(dx)], bpp);
    }
  }
  return out;
}

double FilterScale(int w, int h, int tw, int th) {
  const long double rx = static_cast<long double>(w) / tw;
  const long double ry = static_cast<long double>(h) / th;
  return ry >= rx ? static_cast<double>(static_cast<long double>(th) / h)
                  : static_cast<double>(static_cast<long double>(tw) / w);
}

Bitmap FilterReduce(const Bitmap& rgb, int tw, int th) {
  const int w = rgb.width, h = rgb.height;
  const double s = FilterScale(w, h, tw, th);
  const long double q = 1.0L / static_cast<long double>(s);
  const int outW = std::max(1, static_cast<int>(Truncate(static_cast<long double>(w) * s)));
  const int outH = std::max(1, static_cast<int>(Truncate(static_cast<long double>(h) * s)));

  // Column bands, boundary k = Trunc(q * k).
  std::vector<int> colStart, colEnd;
  for (long long j = 1;; ++j) {
    const long long end = Truncate(q * j);
    if (end > w) break;
    colStart.push_back(static_cast<int>(Truncate(q * (j - 1))));
    colEnd.push_back(static_cast<int>(end));
  }

  // Start from the picture's own top-left corner: cells no band reaches keep it.
  Bitmap out = Bitmap::Create(outW, outH, 24);
  for (int y = 0; y < outH && y < h; ++y) {
    std::memcpy(out.row(y), rgb.row(y), 3 * static_cast<size_t>(std::min(outW, w)));
  }

  struct Acc {
    uint64_t r = 0, g = 0, b = 0, n = 0;
  };
  std::vector<Acc> acc(colStart.size());
  for (long long k = 1;; ++k) {
    const long long rowEnd = Truncate(q * k);
    if (rowEnd > h) break;
    for (long long y = Truncate(q * (k - 1)); y < rowEnd; ++y) {
      const uint8_t* p = rgb.row(static_cast<int>(y));
      for (size_t j = 0; j < colStart.size(); ++j) {
        Acc& a = acc[j];
        for (int x = colStart[j]; x < colEnd[j]; ++x) {
          a.r += p[3 * x];
          a.g += p[3 * x + 1];
          a.b += p[3 * x + 2];
        }
        a.n += static_cast<uint64_t>(colEnd[j] - colStart[j]);
      }
    }
    const long long ty = k - 1;
    for (size_t j = 0; j < acc.size(); ++j) {
      Acc& a = acc[j];
      if (a.n > 0 && ty < outH && static_cast<int>(j) < outW) {
        uint8_t* d = out.row(static_cast<int>(ty)) + 3 * j;
        d[0] = static_cast<uint8_t>(a.r / a.n);
        d[1] = static_cast<uint8_t>(a.g / a.n);
        d[2] = static_cast<uint8_t>(a.b / a.n);
      }
      a = Acc{};
    }
  }
  return out;
}

Bitmap Sharpen(const Bitmap& rgb) {
  Bitmap out = rgb;
  if (rgb.width < 3 || rgb.height < 3) return out;
  const double neighbour = -0.1;
  const double centre = 1.0 - 8.0 * neighbour;
  for (int y = 1; y <= rgb.height - 2; ++y) {
    const uint8_t* above = rgb.row(y - 1);
    const uint8_t* here = rgb.row(y);
    const uint8_t* below = rgb.row(y + 1);
    uint8_t* d = out.row(y);
    for (int x = 1; x <= rgb.width - 2; ++x) {
      for (int c = 0; c < 3; ++c) {
        const size_t l = 3 * static_cast<size_t>(x - 1) + c, m = 3 * static_cast<size_t>(x) + c,
                     r = 3 * static_cast<size_t>(x + 1) + c;
        const int sum = above[l] + above[m] + above[r] + here[l] + here[r] + below[l] + below[m] + below[r];
        double v = centre * here[m] + neighbour * sum;
        if (v < 0) v = 0;
        if (v > 255) v = 255;
        d[m] = static_cast<uint8_t>(std::nearbyint(v));
      }
    }
  }
  return out;
}

Bitmap FilterThumbnail(const Bitmap& picture, int tw, int th, long double ratio) {
  const Bitmap rgb = ToRgb24(picture);
  Bitmap reduced = FilterReduce(rgb, tw, th);
  if (ratio >= 3 && tw > 3 && th > 3) return Sharpen(reduced);
  return reduced;
}

}  // namespace pictavo
