#include "publish/published_picture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "image/jpeg.h"
#include "publish/location.h"
#include "text/chars.h"

namespace pictavo {

PublishedSize PublishedSizeFor(int width, int height, int max, long long shownWidth, long long shownHeight) {
  PublishedSize s{false, width, height};
  if (width <= 0 || height <= 0 || max <= 0 || (width <= max && height <= max)) return s;
  // The longer side becomes the box's, the other follows the proportions as
  // the pages compute theirs (rounded half to even, at least one pixel).
  if (width >= height) {
    s.width = max;
    s.height = static_cast<int>(std::max(1LL, RoundHalfEven(static_cast<long double>(height) * max / width)));
  } else {
    s.height = max;
    s.width = static_cast<int>(std::max(1LL, RoundHalfEven(static_cast<long double>(width) * max / height)));
  }
  if (shownWidth > s.width || shownHeight > s.height) {
    if (shownWidth >= width || shownHeight >= height) return {false, width, height};
    s.width = static_cast<int>(std::max<long long>(1, shownWidth));
    s.height = static_cast<int>(std::max<long long>(1, shownHeight));
  }
  s.reduce = true;
  return s;
}

namespace {

// For each output position, the source positions it covers and how much of
// each: weights in one flat array, fractions that sum to one.
struct Spans {
  std::vector<int> first, count, offset;
  std::vector<float> weights;
};

Spans MakeSpans(int from, int to) {
  Spans s;
  s.first.resize(static_cast<size_t>(to));
  s.count.resize(static_cast<size_t>(to));
  s.offset.resize(static_cast<size_t>(to));
  const double scale = static_cast<double>(from) / to;
  for (int o = 0; o < to; ++o) {
    const double a = o * scale, b = (o + 1) * scale;
    const int first = std::min(from - 1, static_cast<int>(std::floor(a)));
    const int last = std::min(from - 1, std::max(first, static_cast<int>(std::ceil(b)) - 1));
    const auto i = static_cast<size_t>(o);
    s.first[i] = first;
    s.count[i] = last - first + 1;
    s.offset[i] = static_cast<int>(s.weights.size());
    for (int k = first; k <= last; ++k) {
      const double cover = std::min(b, k + 1.0) - std::max(a, static_cast<double>(k));
      s.weights.push_back(static_cast<float>(std::max(0.0, cover) / (b - a)));
    }
  }
  return s;
}

// Every span widened to `taps` positions (zero weights added, the start
// moved back at the right edge), so that the reduction across runs a loop
// of fixed length the compiler unrolls.
Spans Padded(const Spans& s, int taps, int from) {
  Spans p;
  p.first = s.first;
  p.count.assign(s.count.size(), taps);
  p.offset.resize(s.count.size());
  p.weights.assign(s.count.size() * static_cast<size_t>(taps), 0.0f);
  for (size_t i = 0; i < s.count.size(); ++i) {
    const int first = std::max(0, std::min(s.first[i], from - taps));
    p.first[i] = first;
    p.offset[i] = static_cast<int>(i) * taps;
    for (int k = 0; k < s.count[i]; ++k) {
      p.weights[i * static_cast<size_t>(taps) + static_cast<size_t>(s.first[i] - first + k)] =
          s.weights[static_cast<size_t>(s.offset[i] + k)];
    }
  }
  return p;
}

// One source row reduced across into `out` (width x C values); T > 0: every
// span has T positions.
template <int C, int T>
void Across(const uint8_t* src, const Spans& columns, int width, float* out) {
  const float* weights = columns.weights.data();
  for (int x = 0; x < width; ++x) {
    const auto i = static_cast<size_t>(x);
    const uint8_t* p = src + static_cast<size_t>(columns.first[i]) * C;
    const float* w = weights + columns.offset[i];
    float acc[C] = {};
    const int n = T > 0 ? T : columns.count[i];
    for (int k = 0; k < n; ++k) {
      for (int c = 0; c < C; ++c) acc[c] += w[k] * static_cast<float>(p[k * C + c]);
    }
    for (int c = 0; c < C; ++c) out[static_cast<size_t>(x) * C + c] = acc[c];
  }
}

template <int C>
void AcrossAny(const uint8_t* src, const Spans& columns, int taps, int width, float* out) {
  switch (taps) {
    case 2: Across<C, 2>(src, columns, width, out); break;
    case 3: Across<C, 3>(src, columns, width, out); break;
    case 4: Across<C, 4>(src, columns, width, out); break;
    default: Across<C, 0>(src, columns, width, out); break;
  }
}

template <int C>
void Resize(const Bitmap& src, Bitmap& out, int width, int height) {
  Spans columns = MakeSpans(src.width, width);
  const int most = *std::max_element(columns.count.begin(), columns.count.end());
  const int taps = most >= 2 && most <= 4 && most <= src.width ? most : 0;
  if (taps) columns = Padded(columns, taps, src.width);
  const Spans rows = MakeSpans(src.height, height);
  const size_t values = static_cast<size_t>(width) * C;
  // Source rows reduced across, the last two kept: consecutive output rows
  // share at most one source row when reducing.
  std::vector<float> cache(values * 2);
  int cached[2] = {-1, -1};
  auto across = [&](int y) -> const float* {
    for (int k = 0; k < 2; ++k) {
      if (cached[k] == y) return cache.data() + values * k;
    }
    const int k = cached[0] < cached[1] ? 0 : 1;  // the older one goes
    cached[k] = y;
    float* r = cache.data() + values * k;
    AcrossAny<C>(src.row(y), columns, taps, width, r);
    return r;
  };
  std::vector<float> sum(values);
  for (int y = 0; y < height; ++y) {
    const auto i = static_cast<size_t>(y);
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (int k = 0; k < rows.count[i]; ++k) {
      const float* r = across(rows.first[i] + k);
      const float w = rows.weights[static_cast<size_t>(rows.offset[i] + k)];
      for (size_t v = 0; v < values; ++v) sum[v] += w * r[v];
    }
    uint8_t* o = out.row(y);
    for (size_t v = 0; v < values; ++v) o[v] = static_cast<uint8_t>(std::clamp(sum[v] + 0.5f, 0.0f, 255.0f));
  }
}

}  // namespace

Bitmap AreaResize(const Bitmap& src, int width, int height) {
  const bool colour = src.bitsPerPixel == 24;
  Bitmap out = Bitmap::Create(width, height, colour ? 24 : 8);
  out.palette = src.palette;
  if (src.empty() || width <= 0 || height <= 0) return out;
  if (colour) {
    Resize<3>(src, out, width, height);
  } else {
    Resize<1>(src, out, width, height);
  }
  return out;
}

bool PlanPublishedPicture(const std::string& source, int max, long long shownWidth, long long shownHeight,
                          PublishedSize& size, std::string& error) {
  JpegInfo info;
  if (!ReadJpegInfo(source, info, error)) return false;
  const bool turned = info.orientation >= 5 && info.orientation <= 8;
  size = PublishedSizeFor(turned ? info.height : info.width, turned ? info.width : info.height, max, shownWidth,
                          shownHeight);
  return true;
}

bool EncodePublishedPicture(const std::string& source, const PublishedSize& size, int quality, bool keepLocation,
                            std::string& bytes, std::string& error) {
  std::vector<JpegSegment> segments;
  if (!ReadJpegMetadata(source, segments, error)) return false;
  JpegInfo info;
  Bitmap decoded;
  if (!DecodeJpegFileToCover(source, std::max(size.width, size.height), decoded, info, error)) return false;
  const bool turned = info.orientation >= 5 && info.orientation <= 8;
  Bitmap picture = AreaResize(decoded, turned ? size.height : size.width, turned ? size.width : size.height);
  decoded = Bitmap{};
  if (info.orientation != 1) picture = ApplyOrientation(picture, info.orientation);
  for (JpegSegment& s : segments) {
    if (KindOfSegment(s.marker, s.data) == SegmentKind::Exif) {
      (void)SetExifOrientation(reinterpret_cast<uint8_t*>(s.data.data()), s.data.size(), 1);
    }
  }
  if (!keepLocation) (void)StripSegmentsLocation(segments);
  if (!EncodeJpeg(picture, quality, segments, bytes, error)) {
    error = source + ": " + error;
    return false;
  }
  return true;
}

}  // namespace pictavo
