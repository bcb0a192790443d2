#include "publish/published_picture.h"

#include <algorithm>
#include <cmath>
#include <optional>
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
template <int C, int T, typename In>
void Across(const In* src, const Spans& columns, int width, float* out) {
  const float* weights = columns.weights.data();
  for (int x = 0; x < width; ++x) {
    const auto i = static_cast<size_t>(x);
    const In* p = src + static_cast<size_t>(columns.first[i]) * C;
    const float* w = weights + columns.offset[i];
    float acc[C] = {};
    const int n = T > 0 ? T : columns.count[i];
    for (int k = 0; k < n; ++k) {
      for (int c = 0; c < C; ++c) acc[c] += w[k] * static_cast<float>(p[k * C + c]);
    }
    for (int c = 0; c < C; ++c) out[static_cast<size_t>(x) * C + c] = acc[c];
  }
}

template <int C, typename In>
void AcrossAny(const In* src, const Spans& columns, int taps, int width, float* out) {
  switch (taps) {
    case 2: Across<C, 2>(src, columns, width, out); break;
    case 3: Across<C, 3>(src, columns, width, out); break;
    case 4: Across<C, 4>(src, columns, width, out); break;
    default: Across<C, 0>(src, columns, width, out); break;
  }
}

// Area averaging fed one source row at a time, top to bottom: each row is
// added, weighted, into the sums of the one or two output rows it covers (a
// plain loop the compiler vectorises), and an output row is reduced across
// and rounded out once its last source row is in, so the across pass runs
// once per output row. Only the output and a few rows of sums are held.
class RowReducer {
 public:
  RowReducer(int fromWidth, int fromHeight, int channels, Bitmap& out)
      : m_channels(channels), m_width(out.width), m_out(out) {
    m_columns = MakeSpans(fromWidth, out.width);
    const int most = *std::max_element(m_columns.count.begin(), m_columns.count.end());
    m_taps = most >= 2 && most <= 4 && most <= fromWidth ? most : 0;
    if (m_taps) m_columns = Padded(m_columns, m_taps, fromWidth);
    m_rows = MakeSpans(fromHeight, out.height);
    m_from = static_cast<size_t>(fromWidth) * static_cast<size_t>(channels);
    m_values = static_cast<size_t>(m_width) * static_cast<size_t>(channels);
    // Output rows open at once: two when reducing (consecutive ones share at
    // most one source row), more when enlarging.
    m_ring = out.height / fromHeight + 3;
    m_sums.assign(m_from * static_cast<size_t>(m_ring), 0.0f);
    m_across.resize(m_values);
  }

  void take(int y, const uint8_t* pixels) {
    for (int o = m_done; o < m_out.height; ++o) {
      const auto i = static_cast<size_t>(o);
      const int first = m_rows.first[i];
      if (first > y) break;
      float* sum = m_sums.data() + m_from * static_cast<size_t>(o % m_ring);
      const float w = m_rows.weights[static_cast<size_t>(m_rows.offset[i] + y - first)];
      if (y == first) {
        for (size_t v = 0; v < m_from; ++v) sum[v] = w * static_cast<float>(pixels[v]);
      } else {
        for (size_t v = 0; v < m_from; ++v) sum[v] += w * static_cast<float>(pixels[v]);
      }
      if (y == first + m_rows.count[i] - 1) {
        if (m_channels == 3) {
          AcrossAny<3>(sum, m_columns, m_taps, m_width, m_across.data());
        } else {
          AcrossAny<1>(sum, m_columns, m_taps, m_width, m_across.data());
        }
        uint8_t* d = m_out.row(o);
        const float* r = m_across.data();
        for (size_t v = 0; v < m_values; ++v) d[v] = static_cast<uint8_t>(std::clamp(r[v] + 0.5f, 0.0f, 255.0f));
        m_done = o + 1;
      }
    }
  }

 private:
  int m_channels;
  int m_width;
  Bitmap& m_out;
  Spans m_columns, m_rows;
  int m_taps = 0;
  size_t m_from = 0;    // values in a source row
  size_t m_values = 0;  // values in an output row
  int m_ring = 0;
  int m_done = 0;  // output rows before this one are written
  std::vector<float> m_sums;
  std::vector<float> m_across;
};

// Takes the decoder's rows into a RowReducer; a decode that starts over
// starts the reduction over.
class StreamReducer : public JpegRowConsumer {
 public:
  StreamReducer(const PublishedSize& size, Bitmap& out) : m_size(size), m_out(out) {}

  void start(const JpegInfo& info) override {
    const bool turned = info.orientation >= 5 && info.orientation <= 8;
    const bool grey = info.components == 1;
    m_out = Bitmap::Create(turned ? m_size.height : m_size.width, turned ? m_size.width : m_size.height, grey ? 8 : 24);
    if (grey) m_out.palette = Bitmap::GreyPalette();
    m_reducer.emplace(info.outputWidth, info.outputHeight, grey ? 1 : 3, m_out);
  }
  int nextRow(int y) override { return y; }
  void takeRow(int y, const uint8_t* pixels) override { m_reducer->take(y, pixels); }

 private:
  const PublishedSize& m_size;
  Bitmap& m_out;
  std::optional<RowReducer> m_reducer;
};

}  // namespace

Bitmap AreaResize(const Bitmap& src, int width, int height) {
  const bool colour = src.bitsPerPixel == 24;
  Bitmap out = Bitmap::Create(width, height, colour ? 24 : 8);
  out.palette = src.palette;
  if (src.empty() || width <= 0 || height <= 0) return out;
  RowReducer reducer(src.width, src.height, colour ? 3 : 1, out);
  for (int y = 0; y < src.height; ++y) reducer.take(y, src.row(y));
  return out;
}

bool ReducePublishedPicture(const std::string& source, const PublishedSize& size, Bitmap& picture, std::string& error) {
  JpegInfo info;
  StreamReducer reducer(size, picture);
  if (!StreamJpegFile(source, reducer, info, error, std::max(size.width, size.height))) {
    picture = Bitmap{};
    return false;
  }
  if (info.orientation != 1) picture = ApplyOrientation(picture, info.orientation);
  return true;
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
  Bitmap picture;
  if (!ReducePublishedPicture(source, size, picture, error)) return false;
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
