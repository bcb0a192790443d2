#include "publish/published_picture.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "image/jpeg.h"
#include "image/jpeg_row_encoder.h"
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

// The loops over a row: an output row's sums started with a source row,
// added to, or both at once for two output rows that share it; and the
// reduced values rounded to the nearest sample (min and max rather than
// branches, so that the loop vectorises: the same values, as no sum is NaN).
// Each is built for AVX2 too and chosen by the processor at run time (by a
// plain test, not an ifunc resolver, which would run before a sanitizer's
// runtime is up); the arithmetic is the same multiplies and adds in the
// same order, with no fused multiply-add, so the results are exactly those
// of the plain build.
#define PICTAVO_ROW_LOOPS(ATTRIBUTES, SUFFIX)                                                                  \
  ATTRIBUTES void Start##SUFFIX(const uint8_t* __restrict p, size_t n, float* __restrict sum, float w) {       \
    for (size_t v = 0; v < n; ++v) sum[v] = w * static_cast<float>(p[v]);                                     \
  }                                                                                                            \
  ATTRIBUTES void Add##SUFFIX(const uint8_t* __restrict p, size_t n, float* __restrict sum, float w) {         \
    for (size_t v = 0; v < n; ++v) sum[v] += w * static_cast<float>(p[v]);                                    \
  }                                                                                                            \
  ATTRIBUTES void AddAndStart##SUFFIX(const uint8_t* __restrict p, size_t n, float* __restrict added, float wa, \
                                      float* __restrict started, float ws) {                                   \
    for (size_t v = 0; v < n; ++v) {                                                                           \
      const float x = static_cast<float>(p[v]);                                                                \
      added[v] += wa * x;                                                                                      \
      started[v] = ws * x;                                                                                     \
    }                                                                                                          \
  }                                                                                                            \
  ATTRIBUTES void RoundOut##SUFFIX(const float* __restrict r, size_t n, uint8_t* __restrict d) {               \
    for (size_t v = 0; v < n; ++v) {                                                                           \
      const float t = std::min(std::max(r[v] + 0.5f, 0.0f), 255.0f);                                          \
      d[v] = static_cast<uint8_t>(static_cast<int>(t));                                                        \
    }                                                                                                          \
  }

PICTAVO_ROW_LOOPS(, Plain)

#if defined(__x86_64__) && defined(__GNUC__)
PICTAVO_ROW_LOOPS(__attribute__((target("avx2"))), Avx2)

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#define PICTAVO_PICK(NAME, ...) (HasAvx2() ? NAME##Avx2(__VA_ARGS__) : NAME##Plain(__VA_ARGS__))
#else
#define PICTAVO_PICK(NAME, ...) NAME##Plain(__VA_ARGS__)
#endif

void Start(const uint8_t* p, size_t n, float* sum, float w) { PICTAVO_PICK(Start, p, n, sum, w); }
void Add(const uint8_t* p, size_t n, float* sum, float w) { PICTAVO_PICK(Add, p, n, sum, w); }
void AddAndStart(const uint8_t* p, size_t n, float* added, float wa, float* started, float ws) {
  PICTAVO_PICK(AddAndStart, p, n, added, wa, started, ws);
}
void RoundOut(const float* r, size_t n, uint8_t* d) { PICTAVO_PICK(RoundOut, r, n, d); }

#undef PICTAVO_PICK
#undef PICTAVO_ROW_LOOPS

// Where a reduction's output rows go, top to bottom.
class RowSink {
 public:
  virtual ~RowSink() = default;
  // Storage for output row y, written before done(y).
  virtual uint8_t* row(int y) = 0;
  virtual void done(int y) = 0;
};

// The rows of a whole picture.
class BitmapRows : public RowSink {
 public:
  explicit BitmapRows(Bitmap& out) : m_out(out) {}
  uint8_t* row(int y) override { return m_out.row(y); }
  void done(int) override {}

 private:
  Bitmap& m_out;
};

// Rows encoded as they are made, a batch at a time, so that only the batch
// is held, not the picture.
class EncodedRows : public RowSink {
 public:
  static constexpr int kBatch = 16;

  EncodedRows(JpegRowEncoder& encoder, int width, int height, int channels)
      : m_encoder(encoder), m_height(height), m_stride(static_cast<size_t>(width) * static_cast<size_t>(channels)) {
    m_store.resize(m_stride * kBatch);
    for (int i = 0; i < kBatch; ++i) m_rows[i] = m_store.data() + m_stride * static_cast<size_t>(i);
  }
  uint8_t* row(int y) override { return m_store.data() + m_stride * static_cast<size_t>(y % kBatch); }
  void done(int y) override {
    if (m_failed || ((y + 1) % kBatch != 0 && y + 1 != m_height)) return;
    if (!m_encoder.write(m_rows, y % kBatch + 1).ok()) m_failed = true;  // the encoder keeps why
  }
  bool failed() const { return m_failed; }

 private:
  JpegRowEncoder& m_encoder;
  int m_height;
  size_t m_stride;
  std::vector<uint8_t> m_store;
  const uint8_t* m_rows[kBatch];
  bool m_failed = false;
};

// Area averaging fed one source row at a time, top to bottom: each row is
// added, weighted, into the sums of the one or two output rows it covers (a
// plain loop the compiler vectorises), and an output row is reduced across
// and rounded out once its last source row is in, so the across pass runs
// once per output row. Only a few rows of sums are held; the output rows go
// to the sink as they are finished.
class RowReducer {
 public:
  RowReducer(int fromWidth, int fromHeight, int channels, int width, int height, RowSink& sink)
      : m_channels(channels), m_width(width), m_height(height), m_sink(sink) {
    m_columns = MakeSpans(fromWidth, width);
    const int most = *std::max_element(m_columns.count.begin(), m_columns.count.end());
    m_taps = most >= 2 && most <= 4 && most <= fromWidth ? most : 0;
    if (m_taps) m_columns = Padded(m_columns, m_taps, fromWidth);
    m_rows = MakeSpans(fromHeight, height);
    m_from = static_cast<size_t>(fromWidth) * static_cast<size_t>(channels);
    m_values = static_cast<size_t>(m_width) * static_cast<size_t>(channels);
    // Output rows open at once: two when reducing (consecutive ones share at
    // most one source row), more when enlarging.
    m_ring = height / fromHeight + 3;
    m_sums.assign(m_from * static_cast<size_t>(m_ring), 0.0f);
    m_across.resize(m_values);
  }

  void take(int y, const uint8_t* pixels) {
    // The open output rows this source row goes into: m_done onwards, while
    // their first source row is at or above it. Mostly one or two; two take
    // one pass over the row, which is read and converted once.
    int open = 0;
    while (m_done + open < m_height && open < 3 && m_rows.first[static_cast<size_t>(m_done + open)] <= y) ++open;
    const int top = m_done;
    if (open == 2 && m_rows.first[static_cast<size_t>(top)] < y) {
      AddAndStart(pixels, m_from, sumFor(top), weightFor(top, y), sumFor(top + 1), weightFor(top + 1, y));
      finishIfLast(top, y);
      if (m_done == top + 1) finishIfLast(top + 1, y);  // when enlarging, it may be its only row
      return;
    }
    for (int o = m_done; o < m_height; ++o) {
      const int first = m_rows.first[static_cast<size_t>(o)];
      if (first > y) break;
      if (y == first) {
        Start(pixels, m_from, sumFor(o), weightFor(o, y));
      } else {
        Add(pixels, m_from, sumFor(o), weightFor(o, y));
      }
      finishIfLast(o, y);
    }
  }

 private:
  float* sumFor(int o) { return m_sums.data() + m_from * static_cast<size_t>(o % m_ring); }
  float weightFor(int o, int y) const {
    const auto i = static_cast<size_t>(o);
    return m_rows.weights[static_cast<size_t>(m_rows.offset[i] + y - m_rows.first[i])];
  }
  // Output row o is reduced across and rounded out once y is its last source row.
  void finishIfLast(int o, int y) {
    const auto i = static_cast<size_t>(o);
    if (y != m_rows.first[i] + m_rows.count[i] - 1) return;
    const float* sum = sumFor(o);
    if (m_channels == 3) {
      AcrossAny<3>(sum, m_columns, m_taps, m_width, m_across.data());
    } else {
      AcrossAny<1>(sum, m_columns, m_taps, m_width, m_across.data());
    }
    RoundOut(m_across.data(), m_values, m_sink.row(o));
    m_sink.done(o);
    m_done = o + 1;
  }

  int m_channels;
  int m_width;
  int m_height;
  RowSink& m_sink;
  Spans m_columns, m_rows;
  int m_taps = 0;
  size_t m_from = 0;    // values in a source row
  size_t m_values = 0;  // values in an output row
  int m_ring = 0;
  int m_done = 0;  // output rows before this one are finished
  std::vector<float> m_sums;
  std::vector<float> m_across;
};

// Decoded rows handed from the decoding thread to the one that reduces (and
// encodes) them, in blocks through a ring of a few: the decoder waits while
// the ring is full, so what is held stays a few blocks whatever the
// picture's size, and the threads meet once a block, not once a row.
class RowRing {
 public:
  RowRing(size_t rowBytes, int rowsPerBlock, int blocks)
      : m_rowBytes(rowBytes),
        m_perBlock(rowsPerBlock),
        m_blocks(blocks),
        m_store(rowBytes * static_cast<size_t>(rowsPerBlock) * static_cast<size_t>(blocks)),
        m_counts(static_cast<size_t>(blocks), 0) {}

  // Decoding side: a copy of the next row. Dropped once stopped.
  void put(const uint8_t* row) {
    if (m_fill == 0) {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_room.wait(lock, [&] { return m_stopped || m_written - m_read < m_blocks; });
      if (m_stopped) return;
    }
    std::memcpy(block(m_written) + m_rowBytes * static_cast<size_t>(m_fill), row, m_rowBytes);
    if (++m_fill == m_perBlock) hand();
  }
  // Every row is in.
  void close() {
    if (m_fill > 0) hand();
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_closed = true;
    }
    m_rowsIn.notify_one();
  }

  // Reducing side: the next block of rows; false once every row is taken
  // or the ring is stopped.
  bool next(const uint8_t*& rows, int& count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_rowsIn.wait(lock, [&] { return m_stopped || m_closed || m_read < m_written; });
    if (m_stopped || m_read == m_written) return false;
    rows = block(m_read);
    count = m_counts[static_cast<size_t>(m_read % m_blocks)];
    return true;
  }
  // The block from next() is used up.
  void release() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      ++m_read;
    }
    m_room.notify_one();
  }

  // Either side gives up: rows put are dropped, next() says there are none.
  void stop() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stopped = true;
    }
    m_room.notify_all();
    m_rowsIn.notify_all();
  }

  size_t rowBytes() const { return m_rowBytes; }

 private:
  uint8_t* block(int n) {
    return m_store.data() + m_rowBytes * static_cast<size_t>(m_perBlock) * static_cast<size_t>(n % m_blocks);
  }
  void hand() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_counts[static_cast<size_t>(m_written % m_blocks)] = m_fill;
      ++m_written;
    }
    m_fill = 0;
    m_rowsIn.notify_one();
  }

  const size_t m_rowBytes;
  const int m_perBlock;
  const int m_blocks;
  std::vector<uint8_t> m_store;
  std::vector<int> m_counts;  // rows in each block handed
  int m_fill = 0;             // rows in the block being filled (decoding side only)
  std::mutex m_mutex;
  std::condition_variable m_room, m_rowsIn;
  int m_written = 0;  // blocks handed
  int m_read = 0;     // blocks used up
  bool m_closed = false;
  bool m_stopped = false;
};

// What the reduction makes: the picture itself, or, when `encode` is set
// and the picture needs no turn, its JPEG bytes, encoded as its rows are
// reduced.
struct ReductionGoal {
  PublishedSize size;
  bool encode = false;
  int quality = 0;
  const std::vector<JpegSegment>* segments = nullptr;
};

// One decode's rows reduced (and perhaps encoded) on a second thread while
// the decoder goes on: the decoding thread only copies each row into the
// ring. Without a second thread (none could be started) the rows are
// reduced as they come, on the decoding thread.
class ReductionRun {
 public:
  ReductionRun(const ReductionGoal& goal, const JpegInfo& info) {
    const bool turned = info.orientation >= 5 && info.orientation <= 8;
    const int channels = info.components == 1 ? 1 : 3;
    const int width = turned ? goal.size.height : goal.size.width;
    const int height = turned ? goal.size.width : goal.size.height;
    m_streamed = goal.encode && info.orientation == 1;
    if (m_streamed) {
      m_failure = m_encoder.start(width, height, channels, goal.quality, *goal.segments);
      m_encoded.emplace(m_encoder, width, height, channels);
    } else {
      m_picture = Bitmap::Create(width, height, channels == 1 ? 8 : 24);
      if (channels == 1) m_picture.palette = Bitmap::GreyPalette();
      m_whole.emplace(m_picture);
    }
    RowSink& sink = m_streamed ? static_cast<RowSink&>(*m_encoded) : static_cast<RowSink&>(*m_whole);
    m_reducer.emplace(info.outputWidth, info.outputHeight, channels, width, height, sink);
    const size_t rowBytes = static_cast<size_t>(info.outputWidth) * static_cast<size_t>(channels);
    // Blocks of about 64 KB: few meetings, and a block still fits the cache.
    const int perBlock = static_cast<int>(std::clamp<size_t>((64 * 1024) / std::max<size_t>(rowBytes, 1), 1, 32));
    m_ring.emplace(rowBytes, perBlock, 4);
    if (!m_failure.ok()) return;  // nothing to reduce for
    try {
      m_thread = std::thread([this] { work(); });
    } catch (const std::system_error&) {
      // Reduced on the decoding thread instead.
    }
  }

  ~ReductionRun() {
    if (m_thread.joinable()) {
      m_ring->stop();
      m_thread.join();
    }
  }

  ReductionRun(const ReductionRun&) = delete;
  ReductionRun& operator=(const ReductionRun&) = delete;

  void take(const uint8_t* pixels) {
    if (m_thread.joinable()) {
      m_ring->put(pixels);
    } else if (m_failure.ok()) {
      reduce(pixels);
    }
  }

  // Every row is in: waits for the reduction. A failure when it could not
  // be made.
  Status finish() {
    if (m_thread.joinable()) {
      m_ring->close();
      m_thread.join();
    }
    if (m_failure.ok() && m_encoded && m_encoded->failed()) m_failure = m_encoder.status();
    return m_failure;
  }

  bool streamed() const { return m_streamed; }
  JpegRowEncoder& encoder() { return m_encoder; }
  Bitmap& picture() { return m_picture; }

 private:
  void reduce(const uint8_t* pixels) { m_reducer->take(m_rows++, pixels); }

  void work() {
    try {
      const uint8_t* rows = nullptr;
      int count = 0;
      while (m_ring->next(rows, count)) {
        for (int i = 0; i < count; ++i) reduce(rows + m_ring->rowBytes() * static_cast<size_t>(i));
        m_ring->release();
        if (m_encoded && m_encoded->failed()) break;
      }
    } catch (const std::exception& e) {
      // What the reduction throws is, in practice, its buffers' std::bad_alloc.
      m_failure = Status::Failure(ErrorCode::TooLarge, e.what());
    }
    m_ring->stop();  // the decoder's later rows go nowhere
  }

  bool m_streamed = false;
  JpegRowEncoder m_encoder;
  Bitmap m_picture;
  std::optional<EncodedRows> m_encoded;
  std::optional<BitmapRows> m_whole;
  std::optional<RowReducer> m_reducer;
  std::optional<RowRing> m_ring;
  int m_rows = 0;  // source rows reduced
  Status m_failure;
  std::thread m_thread;
};

// Takes the decoder's rows into a ReductionRun; a decode that starts over
// starts the reduction over.
class StreamReducer : public JpegRowConsumer {
 public:
  explicit StreamReducer(const ReductionGoal& goal) : m_goal(goal) {}

  void start(const JpegInfo& info) override {
    m_run.reset();  // an earlier start's thread ends first
    m_run = std::make_unique<ReductionRun>(m_goal, info);
  }
  int nextRow(int y) override { return y; }
  void takeRow(int, const uint8_t* pixels) override { m_run->take(pixels); }

  // The run of the decode that went to the end.
  std::unique_ptr<ReductionRun> release() { return std::move(m_run); }

 private:
  const ReductionGoal& m_goal;
  std::unique_ptr<ReductionRun> m_run;
};

// The status with the picture named in front of its reason.
Status OfSource(const std::string& source, const Status& status) {
  if (status.ok()) return status;
  return Status::Failure(status.code(), source + ": " + status.reason());
}

// Decodes and reduces as the goal says; the run holds the result.
Status RunReduction(const std::string& source, const ReductionGoal& goal, std::unique_ptr<ReductionRun>& run,
                    JpegInfo& info) {
  if (goal.size.width <= 0 || goal.size.height <= 0) {
    return Status::Failure(ErrorCode::BadValue, source + ": no size to reduce the picture to");
  }
  StreamReducer reducer(goal);
  const Status read = StreamJpegFile(source, reducer, info, std::max(goal.size.width, goal.size.height));
  if (!read.ok()) return read;
  run = reducer.release();
  return OfSource(source, run->finish());
}

}  // namespace

Bitmap AreaResize(const Bitmap& src, int width, int height) {
  const bool colour = src.bitsPerPixel == 24;
  Bitmap out = Bitmap::Create(width, height, colour ? 24 : 8);
  out.palette = src.palette;
  if (src.empty() || width <= 0 || height <= 0) return out;
  BitmapRows rows(out);
  RowReducer reducer(src.width, src.height, colour ? 3 : 1, width, height, rows);
  for (int y = 0; y < src.height; ++y) reducer.take(y, src.row(y));
  return out;
}

Status ReducePublishedPicture(const std::string& source, const PublishedSize& size, Bitmap& picture) {
  ReductionGoal goal;
  goal.size = size;
  std::unique_ptr<ReductionRun> run;
  JpegInfo info;
  if (Status reduced = RunReduction(source, goal, run, info); !reduced.ok()) {
    picture = Bitmap{};
    return reduced;
  }
  picture = std::move(run->picture());
  if (info.orientation != 1) picture = ApplyOrientation(picture, info.orientation);
  return {};
}

Status PlanPublishedPicture(const std::string& source, int max, long long shownWidth, long long shownHeight,
                            PublishedSize& size) {
  JpegInfo info;
  if (Status read = ReadJpegInfo(source, info); !read.ok()) return read;
  const bool turned = info.orientation >= 5 && info.orientation <= 8;
  size = PublishedSizeFor(turned ? info.height : info.width, turned ? info.width : info.height, max, shownWidth,
                          shownHeight);
  return {};
}

Status EncodePublishedPicture(const std::string& source, const PublishedSize& size, int quality, bool keepLocation,
                              std::string& bytes) {
  std::vector<JpegSegment> segments;
  if (Status read = ReadJpegMetadata(source, segments); !read.ok()) return read;
  for (JpegSegment& s : segments) {
    if (KindOfSegment(s.marker, s.data) == SegmentKind::Exif) {
      // False only when there is no orientation tag, which then reads as 1 anyway.
      (void)SetExifOrientation(reinterpret_cast<uint8_t*>(s.data.data()), s.data.size(), 1);
    }
  }
  if (!keepLocation) (void)StripSegmentsLocation(segments);  // tells only whether there was a location
  ReductionGoal goal;
  goal.size = size;
  goal.encode = true;
  goal.quality = quality;
  goal.segments = &segments;
  std::unique_ptr<ReductionRun> run;
  JpegInfo info;
  if (Status reduced = RunReduction(source, goal, run, info); !reduced.ok()) return reduced;
  if (run->streamed()) return OfSource(source, run->encoder().finish(bytes));
  // A turned picture is encoded once it is whole and upright.
  const Bitmap picture = ApplyOrientation(run->picture(), info.orientation);
  return OfSource(source, EncodeJpeg(picture, quality, segments, bytes));
}

}  // namespace pictavo
