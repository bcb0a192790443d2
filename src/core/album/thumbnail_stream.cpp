#include "album/thumbnail_stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "album/album_page.h"
#include "album/thumbnail.h"
#include "image/jpeg.h"
#include "text/chars.h"

namespace pictavo {

namespace {

// How an EXIF orientation maps the upright picture onto the stored one. With
// swapped axes a stored row is a column of the upright picture.
struct Geometry {
  int storedWidth = 0;
  int storedHeight = 0;
  bool swap = false;      // upright x runs along stored rows (orientations 5..8)
  bool flipLine = false;  // the upright coordinate across stored rows runs backwards
  bool flipAlong = false; // the upright coordinate along a stored row runs backwards

  explicit Geometry(const JpegInfo& info) : storedWidth(info.width), storedHeight(info.height) {
    const int o = info.orientation >= 1 && info.orientation <= 8 ? info.orientation : 1;
    swap = o >= 5;
    // Upright (x, y) comes from stored (sx, sy): see ApplyOrientation.
    flipLine = o == 3 || o == 4 || o == 6 || o == 7;
    flipAlong = o == 2 || o == 3 || o == 7 || o == 8;
  }
  int width() const { return swap ? storedHeight : storedWidth; }
  int height() const { return swap ? storedWidth : storedHeight; }
  // Upright coordinate that a stored row stands for (y, or x when swapped).
  int lineOf(int storedRow) const { return flipLine ? storedHeight - 1 - storedRow : storedRow; }
  int storedRowOf(int line) const { return flipLine ? storedHeight - 1 - line : line; }
  // Stored column of the upright coordinate along a row (x, or y when swapped).
  int storedColumnOf(int along) const { return flipAlong ? storedWidth - 1 - along : along; }
  // Stored position of upright pixel (x, y).
  void stored(int x, int y, int& sx, int& sy) const {
    sx = storedColumnOf(swap ? y : x);
    sy = storedRowOf(swap ? x : y);
  }
};

// Where pixel (line, along) of the upright geometry lands in the thumbnail.
size_t OutOffset(const Bitmap& out, bool swap, int line, int along, size_t bpp) {
  const int x = swap ? line : along, y = swap ? along : line;
  return static_cast<size_t>(y) * out.stride + static_cast<size_t>(x) * bpp;
}

class Maker : public JpegRowConsumer {
 public:
  Maker(const ThumbnailJob& job, StreamedThumbnail& out, DecodeGate* gate) : m_job(job), m_out(out), m_gate(gate) {}

  bool header(const JpegInfo& info) override { return !m_gate || m_gate->enter(info.decoderBytes); }

  void start(const JpegInfo& info) override {
    m_geo = Geometry(info);
    m_grey = info.components == 1;
    const int w = m_geo.width(), h = m_geo.height();
    m_out.width = w;
    m_out.height = h;
    const DisplaySize ds = ThumbnailDisplaySize(w, h, m_job.tw, m_job.th);
    m_ratio = ds.ratio;
    if (m_job.keepExisting) {
      m_out.path = ThumbnailPath::Kept;
    } else if ((w > m_job.tw || h > m_job.th) && m_job.filter) {
      m_out.path = ThumbnailPath::Filter;
      startFilter();
    } else {
      m_out.path = ThumbnailPath::Normal;
      // A sliver of a picture still gets a one-pixel thumbnail.
      startNormal(static_cast<int>(std::max(1LL, ds.width)), static_cast<int>(std::max(1LL, ds.height)));
    }
  }

  int nextRow(int y) override {
    if (m_out.path == ThumbnailPath::Kept) return m_geo.storedHeight;
    while (y < m_geo.storedHeight && !m_needed[static_cast<size_t>(y)]) ++y;
    return y;
  }

  void takeRow(int y, const uint8_t* pixels) override {
    if (m_out.path == ThumbnailPath::Normal) {
      sampleRow(y, pixels);
    } else if (m_out.path == ThumbnailPath::Filter) {
      reduceRow(y, pixels);
    }
  }

  void finish() {
    if (m_out.path == ThumbnailPath::Filter && m_ratio >= 3 && m_job.tw > 3 && m_job.th > 3) {
      m_out.thumbnail = Sharpen(m_out.thumbnail);
    }
  }

 private:
  // Normal path: thumbnail line l (a row, or a column when swapped) samples
  // one stored row; position p along it samples one stored column.
  void startNormal(int width, int height) {
    const int bpp = m_grey ? 1 : 3;
    m_out.thumbnail = Bitmap::Create(width, height, m_grey ? 8 : 24);
    if (m_grey) m_out.thumbnail.palette = Bitmap::GreyPalette();
    const int lines = m_geo.swap ? width : height, along = m_geo.swap ? height : width;
    const int64_t lineExtent = m_geo.swap ? m_geo.width() : m_geo.height();
    const int64_t alongExtent = m_geo.swap ? m_geo.height() : m_geo.width();
    m_needed.assign(static_cast<size_t>(m_geo.storedHeight), 0);
    m_lines.clear();
    for (int l = 0; l < lines; ++l) {
      const int u = static_cast<int>(((2 * static_cast<int64_t>(l) + 1) * lineExtent) / (2 * static_cast<int64_t>(lines)));
      const int sy = m_geo.storedRowOf(u);
      m_lines.push_back({sy, l});
      m_needed[static_cast<size_t>(sy)] = 1;
    }
    std::sort(m_lines.begin(), m_lines.end(), [](const Line& a, const Line& b) { return a.storedRow < b.storedRow; });
    m_cursor = 0;
    m_columns.resize(static_cast<size_t>(along));
    for (int p = 0; p < along; ++p) {
      const int u = static_cast<int>(((2 * static_cast<int64_t>(p) + 1) * alongExtent) / (2 * static_cast<int64_t>(along)));
      m_columns[static_cast<size_t>(p)] = static_cast<size_t>(m_geo.storedColumnOf(u)) * static_cast<size_t>(bpp);
    }
    m_step = m_geo.swap ? m_out.thumbnail.stride : static_cast<size_t>(bpp);
  }

  void sampleRow(int y, const uint8_t* pixels) {
    const size_t bpp = m_grey ? 1 : 3;
    while (m_cursor < m_lines.size() && m_lines[m_cursor].storedRow < y) ++m_cursor;
    for (; m_cursor < m_lines.size() && m_lines[m_cursor].storedRow == y; ++m_cursor) {
      uint8_t* d = m_out.thumbnail.data.data() + OutOffset(m_out.thumbnail, m_geo.swap, m_lines[m_cursor].line, 0, bpp);
      for (size_t off : m_columns) {
        std::memcpy(d, pixels + off, bpp);
        d += m_step;
      }
    }
  }

  // Filter path, in the upright geometry: the bands across stored rows are
  // the "outer" bands, finished one at a time as rows arrive; the bands along
  // a stored row have one accumulator each.
  void startFilter() {
    const int w = m_geo.width(), h = m_geo.height();
    const double s = FilterScale(w, h, m_job.tw, m_job.th);
    const long double q = 1.0L / static_cast<long double>(s);
    const int outW = std::max(1, static_cast<int>(Truncate(static_cast<long double>(w) * s)));
    const int outH = std::max(1, static_cast<int>(Truncate(static_cast<long double>(h) * s)));
    m_out.thumbnail = Bitmap::Create(outW, outH, 24);

    auto bands = [&](int extent) {
      std::vector<Band> list;
      for (long long k = 1;; ++k) {
        const long long end = Truncate(q * k);
        if (end > extent) break;
        list.push_back({static_cast<int>(Truncate(q * (k - 1))), static_cast<int>(end)});
      }
      return list;
    };
    const std::vector<Band> columns = bands(w), rows = bands(h);
    const std::vector<Band>& outer = m_geo.swap ? columns : rows;
    const std::vector<Band>& inner = m_geo.swap ? rows : columns;
    m_outerLimit = m_geo.swap ? outW : outH;
    m_innerLimit = m_geo.swap ? outH : outW;

    // Stored column ranges of the inner bands.
    m_inner.clear();
    for (const Band& b : inner) {
      const int a = m_geo.storedColumnOf(b.start), z = m_geo.storedColumnOf(b.end - 1);
      m_inner.push_back({std::min(a, z), std::max(a, z) + 1});
    }
    // Sums of every stored column up to the end of the last inner band, reset
    // after every finished band. Each stays below 2^32: a band is at most
    // 65500 rows of 255.
    int used = 0;
    for (const Band& b : m_inner) used = std::max(used, b.end);
    m_sums.assign(static_cast<size_t>(used) * (m_grey ? 1 : 3), 0u);

    m_needed.assign(static_cast<size_t>(m_geo.storedHeight), 0);
    m_bandOfRow.assign(static_cast<size_t>(m_geo.storedHeight), -1);
    m_remaining.clear();
    m_bandHeight.clear();
    for (size_t k = 0; k < outer.size(); ++k) {
      m_remaining.push_back(outer[k].end - outer[k].start);
      m_bandHeight.push_back(outer[k].end - outer[k].start);
      for (int u = outer[k].start; u < outer[k].end; ++u) {
        const size_t sy = static_cast<size_t>(m_geo.storedRowOf(u));
        m_bandOfRow[sy] = static_cast<int>(k);
        m_needed[sy] = 1;
      }
    }

    // Cells no full band reaches keep the upright picture's own pixel there.
    m_loose.clear();
    for (int y = 0; y < outH && y < h; ++y) {
      for (int x = 0; x < outW && x < w; ++x) {
        if (x < static_cast<int>(columns.size()) && y < static_cast<int>(rows.size())) continue;
        int sx, sy;
        m_geo.stored(x, y, sx, sy);
        m_loose.push_back({sy, sx, static_cast<size_t>(y) * m_out.thumbnail.stride + 3 * static_cast<size_t>(x)});
        m_needed[static_cast<size_t>(sy)] = 1;
      }
    }
    std::sort(m_loose.begin(), m_loose.end(), [](const Loose& a, const Loose& b) { return a.storedRow < b.storedRow; });
    m_cursor = 0;
  }

  void reduceRow(int y, const uint8_t* pixels) {
    uint8_t* out = m_out.thumbnail.data.data();
    while (m_cursor < m_loose.size() && m_loose[m_cursor].storedRow < y) ++m_cursor;
    for (; m_cursor < m_loose.size() && m_loose[m_cursor].storedRow == y; ++m_cursor) {
      const Loose& c = m_loose[m_cursor];
      const size_t x = static_cast<size_t>(c.storedColumn);
      for (size_t ch = 0; ch < 3; ++ch) out[c.offset + ch] = m_grey ? pixels[x] : pixels[3 * x + ch];
    }
    const int band = m_bandOfRow[static_cast<size_t>(y)];
    if (band < 0) return;
    // Column sums first: a plain widening add the compiler vectorises; the
    // bands are summed from them once per finished band.
    uint32_t* sums = m_sums.data();
    const size_t n = m_sums.size();
    for (size_t i = 0; i < n; ++i) sums[i] += pixels[i];
    if (--m_remaining[static_cast<size_t>(band)] > 0) return;
    const uint64_t rows = static_cast<uint64_t>(m_bandHeight[static_cast<size_t>(band)]);
    for (size_t i = 0; i < m_inner.size(); ++i) {
      if (band >= m_outerLimit || static_cast<int>(i) >= m_innerLimit) continue;
      uint64_t r = 0, g = 0, b = 0;
      if (m_grey) {
        for (int x = m_inner[i].start; x < m_inner[i].end; ++x) r += sums[x];
        g = b = r;
      } else {
        for (int x = m_inner[i].start; x < m_inner[i].end; ++x) {
          r += sums[3 * x];
          g += sums[3 * x + 1];
          b += sums[3 * x + 2];
        }
      }
      const uint64_t count = rows * static_cast<uint64_t>(m_inner[i].end - m_inner[i].start);
      uint8_t* d = out + OutOffset(m_out.thumbnail, m_geo.swap, band, static_cast<int>(i), 3);
      d[0] = static_cast<uint8_t>(r / count);
      d[1] = static_cast<uint8_t>(g / count);
      d[2] = static_cast<uint8_t>(b / count);
    }
    std::fill(m_sums.begin(), m_sums.end(), 0u);
  }

  struct Line {
    int storedRow;
    int line;
  };
  struct Band {
    int start;
    int end;
  };
  struct Loose {
    int storedRow;
    int storedColumn;
    size_t offset;
  };

  const ThumbnailJob& m_job;
  StreamedThumbnail& m_out;
  DecodeGate* m_gate;
  Geometry m_geo{JpegInfo{}};
  bool m_grey = false;
  long double m_ratio = 0;
  std::vector<uint8_t> m_needed;  // per stored row
  size_t m_cursor = 0;
  // Normal path.
  std::vector<Line> m_lines;      // by stored row
  std::vector<size_t> m_columns;  // byte offset in a stored row, per position along a line
  size_t m_step = 0;              // bytes between positions along a thumbnail line
  // Filter path.
  std::vector<Band> m_inner;      // stored column ranges
  std::vector<uint32_t> m_sums;    // per stored column and channel
  std::vector<int> m_bandHeight;
  std::vector<int> m_bandOfRow;   // outer band per stored row, -1 beyond the last full band
  std::vector<int> m_remaining;   // rows still to come per outer band
  std::vector<Loose> m_loose;
  int m_outerLimit = 0;
  int m_innerLimit = 0;
};

}  // namespace

Status MakeThumbnailStreaming(const std::string& path, const ThumbnailJob& job, StreamedThumbnail& out,
                              DecodeGate* gate) {
  out = StreamedThumbnail{};
  Maker maker(job, out, gate);
  JpegInfo info;
  if (Status read = StreamJpegFile(path, maker, info); !read.ok()) {
    out = StreamedThumbnail{};
    return read;
  }
  maker.finish();
  return {};
}

Status MakeThumbnailFull(const std::string& path, const ThumbnailJob& job, StreamedThumbnail& out) {
  out = StreamedThumbnail{};
  Bitmap decoded;
  JpegInfo info;
  if (Status read = DecodeJpegFile(path, decoded, info); !read.ok()) return read;
  if (info.orientation != 1) decoded = ApplyOrientation(decoded, info.orientation);
  out.width = decoded.width;
  out.height = decoded.height;
  const DisplaySize ds = ThumbnailDisplaySize(out.width, out.height, job.tw, job.th);
  if (job.keepExisting) {
    out.path = ThumbnailPath::Kept;
  } else if ((out.width > job.tw || out.height > job.th) && job.filter) {
    out.path = ThumbnailPath::Filter;
    out.thumbnail = FilterThumbnail(decoded, job.tw, job.th, ds.ratio);
  } else {
    out.path = ThumbnailPath::Normal;
    out.thumbnail = StretchSample(decoded, static_cast<int>(std::max(1LL, ds.width)),
                                  static_cast<int>(std::max(1LL, ds.height)));
  }
  return {};
}

}  // namespace pictavo
