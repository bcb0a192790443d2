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
// each, as fractions that sum to one.
struct Span {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Span> Spans(int from, int to) {
  std::vector<Span> spans(static_cast<size_t>(to));
  const double scale = static_cast<double>(from) / to;
  for (int o = 0; o < to; ++o) {
    const double a = o * scale, b = (o + 1) * scale;
    Span& s = spans[static_cast<size_t>(o)];
    s.first = std::min(from - 1, static_cast<int>(std::floor(a)));
    const int last = std::min(from - 1, std::max(s.first, static_cast<int>(std::ceil(b)) - 1));
    for (int i = s.first; i <= last; ++i) {
      const double cover = std::min(b, i + 1.0) - std::max(a, static_cast<double>(i));
      s.weights.push_back(static_cast<float>(std::max(0.0, cover) / (b - a)));
    }
  }
  return spans;
}

}  // namespace

Bitmap AreaResize(const Bitmap& src, int width, int height) {
  const int channels = src.bitsPerPixel == 24 ? 3 : 1;
  Bitmap out = Bitmap::Create(width, height, channels == 3 ? 24 : 8);
  out.palette = src.palette;
  if (src.empty() || width <= 0 || height <= 0) return out;
  const std::vector<Span> columns = Spans(src.width, width);
  const std::vector<Span> rows = Spans(src.height, height);
  const size_t rowValues = static_cast<size_t>(width) * channels;
  // Source rows reduced across, the last two kept: consecutive output rows
  // share at most one source row when reducing.
  std::vector<float> cache[2] = {std::vector<float>(rowValues), std::vector<float>(rowValues)};
  int cached[2] = {-1, -1};
  auto across = [&](int y) -> const std::vector<float>& {
    for (int k = 0; k < 2; ++k) {
      if (cached[k] == y) return cache[k];
    }
    const int k = cached[0] < cached[1] ? 0 : 1;  // the older one goes
    cached[k] = y;
    std::vector<float>& r = cache[k];
    const uint8_t* p = src.row(y);
    for (int x = 0; x < width; ++x) {
      const Span& s = columns[static_cast<size_t>(x)];
      float acc[3] = {0, 0, 0};
      const uint8_t* q = p + static_cast<size_t>(s.first) * channels;
      for (const float w : s.weights) {
        for (int c = 0; c < channels; ++c) acc[c] += w * q[c];
        q += channels;
      }
      for (int c = 0; c < channels; ++c) r[static_cast<size_t>(x) * channels + c] = acc[c];
    }
    return r;
  };
  std::vector<float> sum(rowValues);
  for (int y = 0; y < height; ++y) {
    const Span& s = rows[static_cast<size_t>(y)];
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (size_t k = 0; k < s.weights.size(); ++k) {
      const std::vector<float>& r = across(s.first + static_cast<int>(k));
      const float w = s.weights[k];
      for (size_t i = 0; i < rowValues; ++i) sum[i] += w * r[i];
    }
    uint8_t* o = out.row(y);
    for (size_t i = 0; i < rowValues; ++i) o[i] = static_cast<uint8_t>(std::clamp(sum[i] + 0.5f, 0.0f, 255.0f));
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
