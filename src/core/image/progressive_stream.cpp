#include "image/progressive_stream.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "image/jpeg.h"

namespace pictavo {

namespace {

// JPEG marker codes (the byte after 0xFF).
constexpr int kSoi = 0xD8;    // start of image
constexpr int kEoi = 0xD9;    // end of image
constexpr int kSof1 = 0xC1;   // frame: extended sequential, Huffman
constexpr int kSof2 = 0xC2;   // frame: progressive, Huffman
constexpr int kDht = 0xC4;    // Huffman tables
constexpr int kDqt = 0xDB;    // quantization tables
constexpr int kDri = 0xDD;    // restart interval
constexpr int kSos = 0xDA;    // start of scan
constexpr int kRst0 = 0xD0;   // first restart marker
constexpr int kApp0 = 0xE0;   // application segments APP0..APP15
constexpr int kApp1 = 0xE1;
constexpr int kApp14 = 0xEE;
constexpr int kApp15 = 0xEF;
constexpr int kCom = 0xFE;    // comment

// Coefficients of one block in zigzag order, the order every scan and the
// sequential encoding walk them in.
using Block = std::array<int16_t, 64>;

// A Huffman table as a DHT segment defines it.
struct HuffSpec {
  bool defined = false;
  std::array<uint8_t, 17> bits{};  // bits[l]: codes of length l
  std::array<uint8_t, 256> values{};
  int count = 0;
};

// Canonical codes of a table, checked the way libjpeg checks them: a table
// libjpeg would refuse is refused here.
bool CanonicalCodes(const HuffSpec& spec, std::array<uint16_t, 256>& codes, std::array<uint8_t, 256>& sizes) {
  int p = 0;
  for (int l = 1; l <= 16; ++l) {
    for (int i = 0; i < spec.bits[static_cast<size_t>(l)]; ++i) sizes[static_cast<size_t>(p++)] = static_cast<uint8_t>(l);
  }
  if (p != spec.count || p == 0) return false;
  uint32_t code = 0;
  int si = sizes[0];
  for (int k = 0; k < p;) {
    while (k < p && sizes[static_cast<size_t>(k)] == si) codes[static_cast<size_t>(k++)] = static_cast<uint16_t>(code++);
    if (code >= (1u << si)) return false;  // would use the all-ones code
    code <<= 1;
    ++si;
  }
  return true;
}

constexpr int kLookahead = 9;

struct HuffDecoder {
  std::array<uint16_t, 1 << kLookahead> fast{};  // (length << 8) | symbol; 0 when longer
  std::array<int32_t, 18> maxcode{};
  std::array<int32_t, 17> valoffset{};
  std::array<uint8_t, 256> values{};

  bool build(const HuffSpec& spec, bool dc) {
    std::array<uint16_t, 256> codes{};
    std::array<uint8_t, 256> sizes{};
    if (!spec.defined || !CanonicalCodes(spec, codes, sizes)) return false;
    values = spec.values;
    int p = 0;
    for (int l = 1; l <= 16; ++l) {
      const int n = spec.bits[static_cast<size_t>(l)];
      if (n) {
        valoffset[static_cast<size_t>(l)] = p - codes[static_cast<size_t>(p)];
        p += n;
        maxcode[static_cast<size_t>(l)] = codes[static_cast<size_t>(p - 1)];
      } else {
        maxcode[static_cast<size_t>(l)] = -1;
      }
    }
    maxcode[17] = INT32_MAX;
    fast.fill(0);
    for (int k = 0; k < spec.count; ++k) {
      const int l = sizes[static_cast<size_t>(k)];
      if (dc && spec.values[static_cast<size_t>(k)] > 15) return false;
      if (l > kLookahead) continue;
      const int shift = kLookahead - l;
      for (int i = 0; i < (1 << shift); ++i) {
        fast[static_cast<size_t>((codes[static_cast<size_t>(k)] << shift) | i)] =
            static_cast<uint16_t>((l << 8) | spec.values[static_cast<size_t>(k)]);
      }
    }
    return true;
  }
};

// Reads a file through a buffer from any offset, without moving the
// descriptor's own offset.
class FileReader {
 public:
  FileReader(int fd, int64_t pos, int64_t end, size_t capacity) : m_fd(fd), m_pos(pos), m_end(end), m_buf(capacity) {}
  // The next byte; -1 at the end of the range or on a read error.
  int get() {
    if (m_at == m_len && !refill()) return -1;
    return m_buf[m_at++];
  }
  bool failed() const { return m_failed; }
  int64_t offset() const { return m_pos - static_cast<int64_t>(m_len - m_at); }
  // Skips n bytes; false past the end.
  bool skip(int64_t n) {
    const int64_t inBuffer = static_cast<int64_t>(m_len - m_at);
    if (n <= inBuffer) {
      m_at += static_cast<size_t>(n);
      return true;
    }
    m_pos += n - inBuffer;
    m_at = m_len = 0;
    return m_pos <= m_end;
  }
  // Finds the next 0xFF byte, leaving the reader on it; false at the end.
  bool seekFF() {
    for (;;) {
      if (m_at == m_len && !refill()) return false;
      const void* hit = std::memchr(m_buf.data() + m_at, 0xFF, m_len - m_at);
      if (hit) {
        m_at = static_cast<size_t>(static_cast<const uint8_t*>(hit) - m_buf.data());
        return true;
      }
      m_at = m_len;
    }
  }
  size_t capacity() const { return m_buf.size(); }

 private:
  bool refill() {
    if (m_pos >= m_end) return false;
    const size_t want = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(m_buf.size()), m_end - m_pos));
    ssize_t n;
    do {
      n = ::pread(m_fd, m_buf.data(), want, m_pos);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
      m_failed = true;
      return false;
    }
    m_pos += n;
    m_at = 0;
    m_len = static_cast<size_t>(n);
    return true;
  }

  int m_fd;
  int64_t m_pos;
  int64_t m_end;
  std::vector<uint8_t> m_buf;
  size_t m_at = 0;
  size_t m_len = 0;
  bool m_failed = false;
};

// The entropy-coded data of one scan, as bits. Stuffed bytes are undone; a
// marker stops the bits until the caller deals with it (restart markers) or
// the scan ends. Bits asked for beyond the data fail the read, where libjpeg
// would warn about corrupt data.
class BitReader {
 public:
  BitReader(int fd, int64_t start, int64_t end) : m_in(fd, start, end, 16 * 1024) {}

  uint32_t peek16() {
    if (m_bits < 16) fill();
    if (m_bits >= 16) return static_cast<uint32_t>(m_acc >> (m_bits - 16)) & 0xFFFF;
    return static_cast<uint32_t>(m_acc << (16 - m_bits)) & 0xFFFF;
  }
  bool skip(int n) {
    if (n > m_bits) return false;
    m_bits -= n;
    return true;
  }
  bool get(int n, int& value) {
    if (n == 0) {
      value = 0;
      return true;
    }
    if (m_bits < n) fill();
    if (n > m_bits) return false;
    m_bits -= n;
    value = static_cast<int>((m_acc >> m_bits) & ((1u << n) - 1));
    return true;
  }
  bool decode(const HuffDecoder& h, int& symbol) {
    const uint32_t v = peek16();
    const uint16_t f = h.fast[v >> (16 - kLookahead)];
    if (f) {
      symbol = f & 0xFF;
      return skip(f >> 8);
    }
    for (int l = kLookahead + 1; l <= 16; ++l) {
      const int32_t code = static_cast<int32_t>(v >> (16 - l));
      if (code <= h.maxcode[static_cast<size_t>(l)]) {
        symbol = h.values[static_cast<size_t>((code + h.valoffset[static_cast<size_t>(l)]) & 0xFF)];
        return skip(l);
      }
    }
    return false;  // no such code
  }
  // At a restart point or the end of the scan: only the padding of the last
  // byte may be left before the marker, which must be the one expected
  // (kEnd for the end of the scan data).
  static constexpr int kEnd = -1;
  bool atMarker(int code) {
    fill();
    if (!m_marker || m_bits >= 8 || m_markerCode != code) return false;
    m_bits = 0;
    m_acc = 0;
    m_marker = false;
    return true;
  }
  bool failed() const { return m_in.failed(); }

 private:
  void fill() {
    while (m_bits <= 56 && !m_marker) {
      int c = m_in.get();
      if (c < 0) {
        m_marker = true;
        m_markerCode = kEnd;
        break;
      }
      if (c == 0xFF) {
        const int c2 = m_in.get();
        if (c2 != 0) {  // the scan's extent holds only restart markers
          m_marker = true;
          m_markerCode = c2;
          break;
        }
      }
      m_acc = (m_acc << 8) | static_cast<uint64_t>(c);
      m_bits += 8;
    }
  }

  FileReader m_in;
  uint64_t m_acc = 0;
  int m_bits = 0;
  bool m_marker = false;
  int m_markerCode = 0;
};

inline int Extend(int r, int s) { return r < (1 << (s - 1)) ? r + static_cast<int>((~0u << s) + 1u) : r; }

inline int16_t Shifted(int value, int al) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) << al));
}

struct Component {
  int id = 0;
  int h = 1;
  int v = 1;
  int tq = 0;
  int widthInBlocks = 0;
  int heightInBlocks = 0;
  int rowBlocks = 0;  // blocks per block row held, dummy blocks included
  bool latched = false;
  std::array<uint16_t, 64> quant{};  // as the DQT segment lists them (zigzag)
  bool quant16 = false;
  std::array<int, 64> coefBits{};
  std::vector<Block> row;  // v block rows of rowBlocks
};

struct Scan {
  std::array<int, 4> comps{};  // frame component indexes
  int count = 0;
  int ss = 0, se = 0, ah = 0, al = 0;
  int restartInterval = 0;
  std::array<HuffDecoder, 4> dc;
  std::array<HuffDecoder, 4> ac;
  int64_t start = 0;
  int64_t end = 0;
  // Decoding state.
  std::unique_ptr<BitReader> bits;
  unsigned eobrun = 0;
  std::array<int, 4> lastDc{};
  int restartsToGo = 0;
  int restartNumber = 0;
};

// The tables of the sequential stream: the standard ones of the JPEG
// specification, widened so that every coefficient a progressive file can
// hold is encodable (DC sizes up to 15, AC sizes up to 15).
struct EncodeTable {
  HuffSpec spec;
  std::array<uint16_t, 256> code{};
  std::array<uint8_t, 256> size{};
};

void CopySpec(const JHUFF_TBL* t, HuffSpec& spec) {
  spec.defined = true;
  spec.count = 0;
  for (int l = 1; l <= 16; ++l) {
    spec.bits[static_cast<size_t>(l)] = t->bits[l];
    spec.count += t->bits[l];
  }
  for (int i = 0; i < spec.count; ++i) spec.values[static_cast<size_t>(i)] = t->huffval[i];
}

bool FinishTable(EncodeTable& t) {
  std::array<uint16_t, 256> codes{};
  std::array<uint8_t, 256> sizes{};
  if (!CanonicalCodes(t.spec, codes, sizes)) return false;
  for (int k = 0; k < t.spec.count; ++k) {
    t.code[t.spec.values[static_cast<size_t>(k)]] = codes[static_cast<size_t>(k)];
    t.size[t.spec.values[static_cast<size_t>(k)]] = sizes[static_cast<size_t>(k)];
  }
  return true;
}

struct EncodeTables {
  EncodeTable dc, ac;
  bool ok = false;
};

const EncodeTables& SequentialTables() {
  static const EncodeTables tables = [] {
    EncodeTables t;
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    c.in_color_space = JCS_RGB;
    c.input_components = 3;
    jpeg_set_defaults(&c);
    CopySpec(c.dc_huff_tbl_ptrs[0], t.dc.spec);
    CopySpec(c.ac_huff_tbl_ptrs[0], t.ac.spec);
    jpeg_destroy_compress(&c);
    // DC: sizes 12..15 as four 12-bit codes, in the room the standard table
    // leaves.
    HuffSpec& dc = t.dc.spec;
    for (int s = 12; s <= 15; ++s) dc.values[static_cast<size_t>(dc.count++)] = static_cast<uint8_t>(s);
    dc.bits[12] = static_cast<uint8_t>(dc.bits[12] + 4);
    // AC: the standard table fills the 16-bit code space; one 9-bit code
    // moves to 16 bits, which makes room for the 80 codes of sizes 11..15.
    HuffSpec& ac = t.ac.spec;
    int before9 = 0;
    for (int l = 1; l <= 8; ++l) before9 += ac.bits[static_cast<size_t>(l)];
    const int moved = before9 + ac.bits[9] - 1;
    const uint8_t symbol = ac.values[static_cast<size_t>(moved)];
    for (int i = moved; i + 1 < ac.count; ++i) ac.values[static_cast<size_t>(i)] = ac.values[static_cast<size_t>(i + 1)];
    ac.values[static_cast<size_t>(ac.count - 1)] = symbol;
    ac.bits[9] = static_cast<uint8_t>(ac.bits[9] - 1);
    int added = 0;
    for (int r = 0; r < 16; ++r) {
      for (int s = 11; s <= 15; ++s) {
        ac.values[static_cast<size_t>(ac.count + added++)] = static_cast<uint8_t>((r << 4) | s);
      }
    }
    ac.count += added;
    ac.bits[16] = static_cast<uint8_t>(ac.bits[16] + added + 1);  // with the moved code
    t.ok = FinishTable(t.dc) && FinishTable(t.ac);
    return t;
  }();
  return tables;
}

// Bits of the sequential stream, with 0xFF bytes stuffed, written 32 bits at
// a time. The bits of a word not yet complete carry over from one row's
// piece to the next.
class BitWriter {
 public:
  // Room for at least `bytes` more bytes (a block needs at most about 500).
  void reserve(size_t bytes) {
    if (m_len + bytes > m_buf.size()) m_buf.resize(std::max(m_buf.size() * 2, m_len + bytes));
  }
  // n <= 32 bits.
  void put(uint32_t bits, int n) {
    m_acc = (m_acc << n) | (bits & static_cast<uint32_t>((uint64_t{1} << n) - 1));
    m_count += n;
    if (m_count >= 32) {
      m_count -= 32;
      const uint32_t w = static_cast<uint32_t>(m_acc >> m_count);
      const uint32_t inverse = ~w;
      if (((inverse - 0x01010101u) & ~inverse & 0x80808080u) == 0) {  // no 0xFF byte
        uint8_t* p = m_buf.data() + m_len;
        p[0] = static_cast<uint8_t>(w >> 24);
        p[1] = static_cast<uint8_t>(w >> 16);
        p[2] = static_cast<uint8_t>(w >> 8);
        p[3] = static_cast<uint8_t>(w);
        m_len += 4;
      } else {
        for (int shift = 24; shift >= 0; shift -= 8) byte(static_cast<uint8_t>(w >> shift));
      }
    }
  }
  // Pads the last byte with one bits and writes what is left.
  void flush() {
    if (m_count % 8) put(0x7F, 8 - m_count % 8);
    while (m_count >= 8) {
      m_count -= 8;
      byte(static_cast<uint8_t>(m_acc >> m_count));
    }
  }
  void append(uint8_t b) { m_buf[m_len++] = b; }
  const uint8_t* data() const { return m_buf.data(); }
  size_t size() const { return m_len; }
  void clear() { m_len = 0; }
  size_t capacity() const { return m_buf.size(); }

 private:
  void byte(uint8_t b) {
    m_buf[m_len++] = b;
    if (b == 0xFF) m_buf[m_len++] = 0;
  }
  std::vector<uint8_t> m_buf;
  size_t m_len = 0;
  uint64_t m_acc = 0;
  int m_count = 0;
};

// Bit k set when coefficient k of the block is not zero.
inline uint64_t NonZero(const Block& b) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  uint64_t zeros = 0;
  for (int i = 0; i < 4; ++i) {
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.data() + 16 * i));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.data() + 16 * i + 8));
    const __m128i packed = _mm_packs_epi16(_mm_cmpeq_epi16(lo, zero), _mm_cmpeq_epi16(hi, zero));
    zeros |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(packed))) << (16 * i);
  }
  return ~zeros;
#else
  uint64_t mask = 0;
  for (int k = 0; k < 64; ++k) mask |= static_cast<uint64_t>(b[static_cast<size_t>(k)] != 0) << k;
  return mask;
#endif
}

inline int BitLength(unsigned v) { return static_cast<int>(std::bit_width(v)); }

// The tables a scan latches when it starts: Huffman specs, quantization
// tables and the restart interval as the segments before it defined them.
struct Tables {
  std::array<HuffSpec, 4> dc{}, ac{};
  std::array<std::array<uint16_t, 64>, 4> quant{};
  std::array<int, 4> quantPrecision{-1, -1, -1, -1};
  int restartInterval = 0;
};

}  // namespace

struct ProgressiveStream::State {
  int fd = -1;
  int width = 0, height = 0;
  int maxH = 1, maxV = 1;
  int mcusPerRow = 0;
  int imcuRows = 0;
  std::vector<Component> comps;
  std::vector<Scan> scans;
  std::vector<std::vector<uint8_t>> keptMarkers;  // APP0, APP1, APP14 before the first scan
  std::vector<uint8_t> piece;
  int stage = 0;  // 0 headers, 1 rows, 2 end-of-image, 3 done
  int rowNext = 0;
  bool failed = false;
  std::array<int, 4> lastDc{};
  BitWriter out;
  std::vector<uint8_t> neededRows;  // per row of blocks; empty: all

  bool parse();
  bool parseSegment(FileReader& in, int code, int length, Tables& tables, bool& sawFrame);
  bool parseFrame(FileReader& in, int length);
  bool parseScan(FileReader& in, int length, Tables& tables);
  bool keepMarker(FileReader& in, int code, int length);
  bool complete() const;
  void writeHeaders();
  bool decodeRow(int r);
  bool decodeScan(Scan& s, int r);
  bool encodeRow(int r);
};

namespace {

int Read16(FileReader& in) {
  const int a = in.get(), b = in.get();
  if (a < 0 || b < 0) return -1;
  return (a << 8) | b;
}

// The next marker code: 0xFF, any fill 0xFF bytes, the code. Anything else
// between segments is something libjpeg would warn about.
int NextMarker(FileReader& in) {
  if (in.get() != 0xFF) return -1;
  int c;
  do {
    c = in.get();
  } while (c == 0xFF);
  return c;
}

}  // namespace

bool ProgressiveStream::State::parseFrame(FileReader& in, int length) {
  const int precision = in.get();
  height = Read16(in);
  width = Read16(in);
  const int n = in.get();
  if (precision != 8 || height <= 0 || width <= 0 || n < 1 || n > 4 || length != 8 + 3 * n) return false;
  comps.resize(static_cast<size_t>(n));
  for (Component& c : comps) {
    c.id = in.get();
    const int hv = in.get();
    c.tq = in.get();
    c.h = hv >> 4;
    c.v = hv & 15;
    if (c.id < 0 || hv < 0 || c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4 || c.tq < 0 || c.tq > 3) return false;
    c.coefBits.fill(-1);
    maxH = std::max(maxH, c.h);
    maxV = std::max(maxV, c.v);
  }
  for (size_t i = 0; i < comps.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (comps[i].id == comps[j].id) return false;
    }
  }
  int blocksInMcu = 0;
  for (Component& c : comps) {
    c.widthInBlocks = static_cast<int>((static_cast<int64_t>(width) * c.h + maxH * 8 - 1) / (maxH * 8));
    c.heightInBlocks = static_cast<int>((static_cast<int64_t>(height) * c.v + maxV * 8 - 1) / (maxV * 8));
    blocksInMcu += c.h * c.v;
  }
  // The sequential stream interleaves every component in one scan.
  if (comps.size() > 1 && blocksInMcu > 10) return false;
  mcusPerRow = (width + maxH * 8 - 1) / (maxH * 8);
  imcuRows = (height + maxV * 8 - 1) / (maxV * 8);
  for (Component& c : comps) c.rowBlocks = std::max(c.widthInBlocks, mcusPerRow * c.h);
  return !in.failed();
}

bool ProgressiveStream::State::parseScan(FileReader& in, int length, Tables& tables) {
  if (comps.empty() || static_cast<int>(scans.size()) >= kMaxProgressiveScans) return false;
  Scan s;
  s.count = in.get();
  if (s.count < 1 || s.count > 4 || length != 6 + 2 * s.count) return false;
  int blocksInMcu = 0;
  std::array<int, 4> tableIds{};
  for (int i = 0; i < s.count; ++i) {
    const int id = in.get(), tableSelectors = in.get();
    int index = -1;
    for (size_t c = 0; c < comps.size(); ++c) {
      if (comps[c].id == id) index = static_cast<int>(c);
    }
    if (index < 0 || tableSelectors < 0) return false;
    for (int j = 0; j < i; ++j) {
      if (s.comps[static_cast<size_t>(j)] == index) return false;
    }
    s.comps[static_cast<size_t>(i)] = index;
    const int td = tableSelectors >> 4, ta = tableSelectors & 15;
    if (td > 3 || ta > 3) return false;
    Component& c = comps[static_cast<size_t>(index)];
    blocksInMcu += c.h * c.v;
    // The quantization table in force when a component's first scan begins
    // is the one its pixels are made with.
    if (!c.latched) {
      if (tables.quantPrecision[static_cast<size_t>(c.tq)] < 0) return false;
      c.quant = tables.quant[static_cast<size_t>(c.tq)];
      c.quant16 = tables.quantPrecision[static_cast<size_t>(c.tq)] == 1;
      c.latched = true;
    }
    tableIds[static_cast<size_t>(i)] = tableSelectors;
  }
  s.restartInterval = tables.restartInterval;
  s.ss = in.get();
  s.se = in.get();
  const int a = in.get();
  if (s.ss < 0 || s.se < 0 || a < 0) return false;
  s.ah = a >> 4;
  s.al = a & 15;
  if (s.count > 1 && blocksInMcu > 10) return false;
  // The checks libjpeg makes at the start of a progressive scan, errors and
  // warnings alike.
  const bool dcBand = s.ss == 0;
  if (dcBand ? s.se != 0 : (s.ss > s.se || s.se > 63 || s.count != 1)) return false;
  if (s.ah != 0 && s.al != s.ah - 1) return false;
  if (s.al > 13) return false;
  for (int i = 0; i < s.count; ++i) {
    Component& c = comps[static_cast<size_t>(s.comps[static_cast<size_t>(i)])];
    if (!dcBand && c.coefBits[0] < 0) return false;
    for (int k = s.ss; k <= s.se; ++k) {
      const int expected = std::max(c.coefBits[static_cast<size_t>(k)], 0);
      if (s.ah != expected) return false;
      c.coefBits[static_cast<size_t>(k)] = s.al;
    }
    const int td = tableIds[static_cast<size_t>(i)] >> 4, ta = tableIds[static_cast<size_t>(i)] & 15;
    if (dcBand) {
      if (s.ah == 0 && !s.dc[static_cast<size_t>(i)].build(tables.dc[static_cast<size_t>(td)], true)) return false;
    } else if (!s.ac[static_cast<size_t>(i)].build(tables.ac[static_cast<size_t>(ta)], false)) {
      return false;
    }
  }
  if (in.failed()) return false;
  // The entropy-coded data runs to the first marker other than RSTn.
  s.start = in.offset();
  for (;;) {
    if (!in.seekFF()) return false;
    const int64_t at = in.offset();
    in.get();
    const int c = in.get();
    if (c == 0 || (c >= kRst0 && c <= kRst0 + 7)) continue;
    if (c < 0 || c == 0xFF) return false;  // fill bytes inside the data: leave it to libjpeg
    s.end = at;
    break;
  }
  scans.push_back(std::move(s));
  return true;
}

namespace {

// A DHT segment: one or more tables, each put in its class and slot.
bool ParseHuffmanTables(FileReader& in, int length, Tables& tables) {
  int left = length - 2;
  while (left > 0) {
    const int index = in.get();
    if (index < 0 || (index & 0xEF) > 3) return false;
    HuffSpec spec;
    spec.defined = true;
    for (int l = 1; l <= 16; ++l) {
      const int n = in.get();
      if (n < 0) return false;
      spec.bits[static_cast<size_t>(l)] = static_cast<uint8_t>(n);
      spec.count += n;
    }
    left -= 17;
    if (spec.count > 256 || spec.count > left) return false;
    for (int i = 0; i < spec.count; ++i) {
      const int v = in.get();
      if (v < 0) return false;
      spec.values[static_cast<size_t>(i)] = static_cast<uint8_t>(v);
    }
    left -= spec.count;
    ((index & 0x10) ? tables.ac : tables.dc)[static_cast<size_t>(index & 3)] = spec;
  }
  return left == 0;
}

// A DQT segment: 8- or 16-bit tables, kept in the order the file lists them.
bool ParseQuantTables(FileReader& in, int length, Tables& tables) {
  int left = length - 2;
  while (left > 0) {
    const int pq = in.get();
    if (pq < 0 || (pq >> 4) > 1 || (pq & 15) > 3) return false;
    const int precision = pq >> 4;
    std::array<uint16_t, 64>& q = tables.quant[static_cast<size_t>(pq & 15)];
    for (int i = 0; i < 64; ++i) {
      const int v = precision ? Read16(in) : in.get();
      if (v < 0) return false;
      q[static_cast<size_t>(i)] = static_cast<uint16_t>(v);
    }
    tables.quantPrecision[static_cast<size_t>(pq & 15)] = precision;
    left -= 1 + 64 * (precision + 1);
  }
  return left == 0;
}

}  // namespace

// APP and COM segments are allowed; the ones libjpeg reads for colour and
// orientation (APP0, APP1, APP14) are carried into the rewritten stream.
bool ProgressiveStream::State::keepMarker(FileReader& in, int code, int length) {
  if (!scans.empty() || (code != kApp0 && code != kApp1 && code != kApp14)) return true;
  std::vector<uint8_t> m = {0xFF, static_cast<uint8_t>(code), static_cast<uint8_t>(length >> 8),
                            static_cast<uint8_t>(length & 0xFF)};
  for (int i = 2; i < length; ++i) {
    const int v = in.get();
    if (v < 0) return false;
    m.push_back(static_cast<uint8_t>(v));
  }
  keptMarkers.push_back(std::move(m));
  return true;
}

bool ProgressiveStream::State::parseSegment(FileReader& in, int code, int length, Tables& tables, bool& sawFrame) {
  switch (code) {
    case kSof2:
      if (sawFrame || !parseFrame(in, length)) return false;
      sawFrame = true;
      return true;
    case kDht:
      return ParseHuffmanTables(in, length, tables);
    case kDqt:
      return ParseQuantTables(in, length, tables);
    case kDri:
      if (length != 4) return false;
      tables.restartInterval = Read16(in);
      return tables.restartInterval >= 0;
    case kSos:
      return sawFrame && parseScan(in, length, tables);
    default:
      if ((code >= kApp0 && code <= kApp15) || code == kCom) return keepMarker(in, code, length);
      return false;  // anything else: not a file for this reader
  }
}

// Every coefficient bit was sent; otherwise libjpeg would smooth the blocks.
bool ProgressiveStream::State::complete() const {
  for (const Component& c : comps) {
    for (int b : c.coefBits) {
      if (b != 0) return false;
    }
  }
  return true;
}

bool ProgressiveStream::State::parse() {
  FileReader in(fd, 0, INT64_MAX, 128 * 1024);
  if (in.get() != 0xFF || in.get() != kSoi) return false;
  Tables tables;
  bool sawFrame = false;
  int code = NextMarker(in);
  while (code != kEoi) {
    if (code < 0) return false;
    const int length = Read16(in);
    if (length < 2) return false;
    const int64_t segmentEnd = in.offset() + length - 2;
    if (!parseSegment(in, code, length, tables, sawFrame) || in.failed()) return false;
    if (code == kSos) {
      // Continue at the marker that ended the scan's data.
      in = FileReader(fd, scans.back().end, INT64_MAX, in.capacity());
    } else if (in.offset() > segmentEnd || !in.skip(segmentEnd - in.offset())) {
      return false;
    }
    code = NextMarker(in);
  }
  return !scans.empty() && complete() && SequentialTables().ok;
}

bool ProgressiveStream::open(int fd) {
  m = std::make_unique<State>();
  m->fd = fd;
  if (!m->parse()) {
    m.reset();
    return false;
  }
  return true;
}

ProgressiveStream::ProgressiveStream() = default;
ProgressiveStream::~ProgressiveStream() = default;

bool ProgressiveStream::failed() const { return m && m->failed; }

int64_t ProgressiveStream::memoryBytes() const {
  if (!m) return 0;
  int64_t bytes = 0;
  for (const Component& c : m->comps) bytes += static_cast<int64_t>(c.rowBlocks) * c.v * 128;
  bytes *= 2;  // the encoded row, rarely near as large
  bytes += static_cast<int64_t>(m->scans.size()) * (16 * 1024 + static_cast<int64_t>(sizeof(Scan)));
  return bytes;
}

void ProgressiveStream::State::writeHeaders() {
  piece.clear();
  auto put16 = [&](int v) {
    piece.push_back(static_cast<uint8_t>(v >> 8));
    piece.push_back(static_cast<uint8_t>(v & 0xFF));
  };
  piece.push_back(0xFF);
  piece.push_back(kSoi);
  for (const auto& marker : keptMarkers) piece.insert(piece.end(), marker.begin(), marker.end());
  // One quantization table per component, as each component latched it.
  for (size_t c = 0; c < comps.size(); ++c) {
    const Component& comp = comps[c];
    piece.push_back(0xFF);
    piece.push_back(kDqt);
    put16(2 + 1 + 64 * (comp.quant16 ? 2 : 1));
    piece.push_back(static_cast<uint8_t>((comp.quant16 ? 0x10 : 0) | c));
    for (uint16_t q : comp.quant) {
      if (comp.quant16) {
        put16(q);
      } else {
        piece.push_back(static_cast<uint8_t>(q));
      }
    }
  }
  // Extended sequential Huffman frame.
  piece.push_back(0xFF);
  piece.push_back(kSof1);
  put16(8 + 3 * static_cast<int>(comps.size()));
  piece.push_back(8);
  put16(height);
  put16(width);
  piece.push_back(static_cast<uint8_t>(comps.size()));
  for (size_t c = 0; c < comps.size(); ++c) {
    piece.push_back(static_cast<uint8_t>(comps[c].id));
    piece.push_back(static_cast<uint8_t>((comps[c].h << 4) | comps[c].v));
    piece.push_back(static_cast<uint8_t>(c));
  }
  const EncodeTables& t = SequentialTables();
  for (const EncodeTable* table : {&t.dc, &t.ac}) {
    piece.push_back(0xFF);
    piece.push_back(kDht);
    put16(2 + 1 + 16 + table->spec.count);
    piece.push_back(table == &t.ac ? 0x10 : 0x00);
    for (int l = 1; l <= 16; ++l) piece.push_back(table->spec.bits[static_cast<size_t>(l)]);
    for (int i = 0; i < table->spec.count; ++i) piece.push_back(table->spec.values[static_cast<size_t>(i)]);
  }
  piece.push_back(0xFF);
  piece.push_back(kSos);
  put16(6 + 2 * static_cast<int>(comps.size()));
  piece.push_back(static_cast<uint8_t>(comps.size()));
  for (const Component& c : comps) {
    piece.push_back(static_cast<uint8_t>(c.id));
    piece.push_back(0x00);
  }
  piece.push_back(0);
  piece.push_back(63);
  piece.push_back(0);
}

namespace {

// The block decoders of one scan, by the scan's kind: the first pass over
// the DC or AC coefficients, or a refinement pass adding one bit. Each reads
// one block's bits and keeps the scan's running state (DC predictors, the
// end-of-band run, restart markers).
class ScanDecoder {
 public:
  explicit ScanDecoder(Scan& scan) : s(scan), in(*scan.bits) {}
  bool restart();
  bool dcFirst(Block& b, int i);
  bool dcRefine(Block& b);
  bool acFirst(Block& b);
  bool acRefine(Block& b);

 private:
  bool correct(Block& b, int pos);
  bool acRefineBand(Block& b, int& k);
  bool readEobRun(int run, unsigned& eobrun);

  Scan& s;
  BitReader& in;
};

bool ScanDecoder::restart() {
  if (!s.restartInterval) return true;
  if (s.restartsToGo == 0) {
    if (!in.atMarker(kRst0 + (s.restartNumber & 7))) return false;
    s.restartNumber++;
    s.lastDc.fill(0);
    s.eobrun = 0;
    s.restartsToGo = s.restartInterval;
  }
  s.restartsToGo--;
  return true;
}

bool ScanDecoder::dcFirst(Block& b, int i) {
  int sym, bits = 0;
  if (!in.decode(s.dc[static_cast<size_t>(i)], sym)) return false;
  if (sym) {
    if (!in.get(sym, bits)) return false;
    bits = Extend(bits, sym);
  }
  const int64_t sum = static_cast<int64_t>(s.lastDc[static_cast<size_t>(i)]) + bits;
  if (sum > INT_MAX || sum < INT_MIN) return false;
  s.lastDc[static_cast<size_t>(i)] = static_cast<int>(sum);
  b[0] = Shifted(static_cast<int>(sum), s.al);
  return true;
}

bool ScanDecoder::dcRefine(Block& b) {
  int bit;
  if (!in.get(1, bit)) return false;
  if (bit) b[0] = static_cast<int16_t>(b[0] | (1 << s.al));
  return true;
}

// An end-of-band run of 2^run blocks plus `run` extra bits.
bool ScanDecoder::readEobRun(int run, unsigned& eobrun) {
  eobrun = 1u << run;
  if (!run) return true;
  int extra;
  if (!in.get(run, extra)) return false;
  eobrun += static_cast<unsigned>(extra);
  return true;
}

bool ScanDecoder::acFirst(Block& b) {
  if (s.eobrun > 0) {
    s.eobrun--;
    return true;
  }
  const HuffDecoder& h = s.ac[0];
  for (int k = s.ss; k <= s.se; ++k) {
    int sym;
    if (!in.decode(h, sym)) return false;
    const int run = sym >> 4;
    const int size = sym & 15;
    if (size) {
      k += run;
      if (k > s.se) return false;
      int bits;
      if (!in.get(size, bits)) return false;
      b[static_cast<size_t>(k)] = Shifted(Extend(bits, size), s.al);
    } else if (run == 15) {
      k += 15;
    } else {
      unsigned eob;
      if (!readEobRun(run, eob)) return false;
      s.eobrun = eob - 1;
      break;
    }
  }
  return true;
}

// A correction bit for a coefficient that is already not zero.
bool ScanDecoder::correct(Block& b, int pos) {
  const int p1 = 1 << s.al, m1 = static_cast<int>(~0u << s.al);
  int bit;
  if (!in.get(1, bit)) return false;
  const int coef = b[static_cast<size_t>(pos)];
  if (bit && (coef & p1) == 0) b[static_cast<size_t>(pos)] = static_cast<int16_t>(coef + (coef >= 0 ? p1 : m1));
  return true;
}

// The refinement of the band up to an end-of-band run; k is left where the
// run begins.
bool ScanDecoder::acRefineBand(Block& b, int& k) {
  const int p1 = 1 << s.al, m1 = static_cast<int>(~0u << s.al);
  const HuffDecoder& h = s.ac[0];
  for (; k <= s.se; ++k) {
    int sym;
    if (!in.decode(h, sym)) return false;
    int run = sym >> 4;
    const int size = sym & 15;
    int value = 0;
    if (size) {
      if (size != 1) return false;
      int bit;
      if (!in.get(1, bit)) return false;
      value = bit ? p1 : m1;
    } else if (run != 15) {
      return readEobRun(run, s.eobrun);
    }
    do {
      if (b[static_cast<size_t>(k)] != 0) {
        if (!correct(b, k)) return false;
      } else if (--run < 0) {
        break;
      }
      ++k;
    } while (k <= s.se);
    if (value) {
      if (k > s.se) return false;
      b[static_cast<size_t>(k)] = static_cast<int16_t>(value);
    }
  }
  return true;
}

bool ScanDecoder::acRefine(Block& b) {
  int k = s.ss;
  if (s.eobrun == 0 && !acRefineBand(b, k)) return false;
  if (s.eobrun > 0) {
    // Inside a run only the coefficients already not zero take a bit.
    if (k <= s.se) {
      const uint64_t upTo = s.se == 63 ? ~uint64_t{0} : (uint64_t{1} << (s.se + 1)) - 1;
      uint64_t nz = NonZero(b) & upTo & ~((uint64_t{1} << k) - 1);
      while (nz) {
        if (!correct(b, std::countr_zero(nz))) return false;
        nz &= nz - 1;
      }
    }
    s.eobrun--;
  }
  return true;
}

}  // namespace

bool ProgressiveStream::State::decodeScan(Scan& s, int r) {
  ScanDecoder d(s);
  // Blocks of the row this scan covers: an interleaved scan walks MCUs, a
  // single-component one the component's blocks in raster order.
  if (s.count == 1) {
    Component& c = comps[static_cast<size_t>(s.comps[0])];
    const int firstRow = r * c.v, rows = std::min(c.v, c.heightInBlocks - firstRow);
    for (int by = 0; by < rows; ++by) {
      Block* line = c.row.data() + static_cast<size_t>(by) * static_cast<size_t>(c.rowBlocks);
      for (int bx = 0; bx < c.widthInBlocks; ++bx) {
        if (!d.restart()) return false;
        Block& b = line[bx];
        bool ok;
        if (s.ss == 0) {
          ok = s.ah == 0 ? d.dcFirst(b, 0) : d.dcRefine(b);
        } else {
          ok = s.ah == 0 ? d.acFirst(b) : d.acRefine(b);
        }
        if (!ok) return false;
      }
    }
    return true;
  }
  for (int mx = 0; mx < mcusPerRow; ++mx) {
    if (!d.restart()) return false;
    for (int i = 0; i < s.count; ++i) {
      Component& c = comps[static_cast<size_t>(s.comps[static_cast<size_t>(i)])];
      for (int by = 0; by < c.v; ++by) {
        Block* line = c.row.data() + static_cast<size_t>(by) * static_cast<size_t>(c.rowBlocks);
        for (int bx = 0; bx < c.h; ++bx) {
          Block& b = line[mx * c.h + bx];
          if (!(s.ah == 0 ? d.dcFirst(b, i) : d.dcRefine(b))) return false;
        }
      }
    }
  }
  return true;
}

bool ProgressiveStream::State::decodeRow(int r) {
  for (Component& c : comps) {
    if (c.row.empty()) c.row.resize(static_cast<size_t>(c.rowBlocks) * static_cast<size_t>(c.v));
    std::memset(static_cast<void*>(c.row.data()), 0, c.row.size() * sizeof(Block));
  }
  for (Scan& s : scans) {
    if (!s.bits) {
      s.bits = std::make_unique<BitReader>(fd, s.start, s.end);
      s.restartsToGo = s.restartInterval;
    }
    if (!decodeScan(s, r) || s.bits->failed()) return false;
    if (r == imcuRows - 1) {
      if (!s.bits->atMarker(BitReader::kEnd)) return false;
      s.bits.reset();
    }
  }
  return true;
}

bool ProgressiveStream::State::encodeRow(int r) {
  out.clear();
  const EncodeTables& t = SequentialTables();
  const bool needed = neededRows.empty() || neededRows[static_cast<size_t>(r)];
  auto block = [&](const Block& b, int ci) -> bool {
    out.reserve(520);
    // A row nobody looks at is written as flat blocks; its data was still
    // decoded, so damage there is still found.
    const int dc = needed ? b[0] : 0;
    const int diff = dc - lastDc[static_cast<size_t>(ci)];
    lastDc[static_cast<size_t>(ci)] = dc;
    const unsigned mag = static_cast<unsigned>(diff < 0 ? -diff : diff);
    const int size = BitLength(mag);
    if (size > 15) return false;
    const uint32_t value = static_cast<uint32_t>(diff < 0 ? diff - 1 : diff) & ((1u << size) - 1);
    out.put((static_cast<uint32_t>(t.dc.code[static_cast<size_t>(size)]) << size) | value,
            t.dc.size[static_cast<size_t>(size)] + size);
    uint64_t nz = needed ? NonZero(b) & ~uint64_t{1} : 0;
    int last = 0;
    while (nz) {
      const int k = std::countr_zero(nz);
      nz &= nz - 1;
      int run = k - last - 1;
      last = k;
      while (run > 15) {
        out.put(t.ac.code[0xF0], t.ac.size[0xF0]);
        run -= 16;
      }
      const int v = b[static_cast<size_t>(k)];
      const int s = BitLength(static_cast<unsigned>(v < 0 ? -v : v));
      if (s > 15) return false;
      const size_t sym = static_cast<size_t>((run << 4) | s);
      const uint32_t bits = static_cast<uint32_t>(v < 0 ? v - 1 : v) & ((1u << s) - 1);
      out.put((static_cast<uint32_t>(t.ac.code[sym]) << s) | bits, t.ac.size[sym] + s);
    }
    if (last != 63) out.put(t.ac.code[0], t.ac.size[0]);
    return true;
  };
  if (comps.size() == 1) {
    const Component& c = comps[0];
    const int rows = std::min(c.v, c.heightInBlocks - r * c.v);
    for (int by = 0; by < rows; ++by) {
      const Block* line = c.row.data() + static_cast<size_t>(by) * static_cast<size_t>(c.rowBlocks);
      for (int bx = 0; bx < c.widthInBlocks; ++bx) {
        if (!block(line[bx], 0)) return false;
      }
    }
  } else {
    for (int mx = 0; mx < mcusPerRow; ++mx) {
      for (size_t ci = 0; ci < comps.size(); ++ci) {
        const Component& c = comps[ci];
        for (int by = 0; by < c.v; ++by) {
          const Block* line = c.row.data() + static_cast<size_t>(by) * static_cast<size_t>(c.rowBlocks);
          for (int bx = 0; bx < c.h; ++bx) {
            if (!block(line[mx * c.h + bx], static_cast<int>(ci))) return false;
          }
        }
      }
    }
  }
  if (r == imcuRows - 1) {
    out.flush();
    out.reserve(2);
    out.append(0xFF);
    out.append(kEoi);
  }
  return true;
}

void ProgressiveStream::needRows(const std::vector<int>& pixelRows) {
  if (!m) return;
  const int rowHeight = 8 * m->maxV;
  m->neededRows.assign(static_cast<size_t>(m->imcuRows), 0);
  for (int y : pixelRows) {
    const int r = y / rowHeight;
    if (r < 0 || r >= m->imcuRows) continue;
    // Upsampling takes context from the rows of blocks above and below.
    for (int k = std::max(0, r - 1); k <= std::min(m->imcuRows - 1, r + 1); ++k) m->neededRows[static_cast<size_t>(k)] = 1;
  }
}

bool ProgressiveStream::next(const uint8_t*& data, size_t& size) {
  data = nullptr;
  size = 0;
  if (!m || m->failed) return false;
  State& s = *m;
  if (s.stage == 0) {
    s.writeHeaders();
    s.stage = 1;
  } else if (s.stage == 1) {
    // A row of flat blocks can fit in the bits the writer holds back, and
    // an empty piece would read to libjpeg as a fill of zero bytes: take
    // rows until bytes come out. The last row always ends in a marker.
    do {
      const int r = s.rowNext++;
      if (!s.decodeRow(r) || !s.encodeRow(r)) {
        s.failed = true;
        return false;
      }
    } while (s.out.size() == 0 && s.rowNext < s.imcuRows);
    if (s.rowNext == s.imcuRows) s.stage = 2;
    data = s.out.data();
    size = s.out.size();
    return true;
  } else {
    return false;
  }
  data = s.piece.data();
  size = s.piece.size();
  return true;
}

}  // namespace pictavo
