// Progressive files rewritten as sequential ones while read: the rewrite must
// decode to exactly the pixels of the original, and must step aside for
// anything it does not reproduce exactly.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image/jpeg.h"
#include "image/progressive_stream.h"
#include "fixtures.h"
#include "test_util.h"
#include "status_testing.h"

namespace pictavo {
namespace {

// The whole rewritten stream; false when the rewrite refused or gave up.
bool Rewrite(const std::string& path, std::string& out, bool& opened) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  EXPECT_GE(fd, 0);
  ProgressiveStream stream;
  opened = stream.open(fd);
  out.clear();
  const uint8_t* data;
  size_t size;
  while (opened && stream.next(data, size)) out.append(reinterpret_cast<const char*>(data), size);
  ::close(fd);
  return opened && !stream.failed();
}

Bitmap Decode(const std::string& bytes, std::string& error) {
  Bitmap b;
  JpegInfo info;
  const Status decoded = DecodeJpegMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), b, info);
  error = decoded.reason();
  if (!decoded.ok()) return {};
  return b;
}

// Takes every row; start() begins the count afresh.
struct RowCount : JpegRowConsumer {
  void start(const JpegInfo&) override {
    ++starts;
    rows = 0;
  }
  int nextRow(int y) override { return y; }
  void takeRow(int, const uint8_t*) override { ++rows; }
  int starts = 0, rows = 0;
};

bool SamePixels(const Bitmap& a, const Bitmap& b) {
  return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel && a.data == b.data;
}

void WriteBusy(const std::string& path, int w, int h, const JpegOptions& o) {
  Bitmap b = PatternPicture(w, h, 7);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.row(y)[3 * x + 1] = static_cast<uint8_t>(b.row(y)[3 * x + 1] ^ b.row(y)[3 * x + 2]);
  }
  WriteTestJpeg(path, b, o);
}

// Progressions other than libjpeg's own: spectral selection only with one
// scan per component, and deep successive approximation on DC and AC.
std::vector<std::vector<ScanSpec>> Scripts(bool grey) {
  if (grey) {
    return {{},
            {{{0}, 0, 0, 0, 0}, {{0}, 1, 5, 0, 0}, {{0}, 6, 63, 0, 0}},
            {{{0}, 0, 0, 0, 3}, {{0}, 1, 9, 0, 4}, {{0}, 10, 63, 0, 2}, {{0}, 0, 0, 3, 2}, {{0}, 1, 9, 4, 3},
             {{0}, 1, 9, 3, 2}, {{0}, 1, 63, 2, 1}, {{0}, 0, 0, 2, 1}, {{0}, 0, 0, 1, 0}, {{0}, 1, 63, 1, 0}}};
  }
  return {{},
          {{{0}, 0, 0, 0, 0}, {{2}, 0, 0, 0, 0}, {{1}, 0, 0, 0, 0}, {{2}, 1, 63, 0, 0}, {{0}, 1, 2, 0, 0},
           {{1}, 1, 63, 0, 0}, {{0}, 3, 63, 0, 0}},
          {{{0, 1, 2}, 0, 0, 0, 2}, {{0}, 1, 9, 0, 3}, {{0}, 10, 63, 0, 2}, {{1}, 1, 63, 0, 1}, {{2}, 1, 63, 0, 1},
           {{0, 1}, 0, 0, 2, 1}, {{2}, 0, 0, 2, 1}, {{0}, 1, 9, 3, 2}, {{0}, 1, 63, 2, 1}, {{0, 1, 2}, 0, 0, 1, 0},
           {{2}, 1, 63, 1, 0}, {{1}, 1, 63, 1, 0}, {{0}, 1, 63, 1, 0}}};
}

TEST(ProgressiveStream, RewriteDecodesToTheSamePixels) {
  TempDir dir;
  struct Sampling {
    int h, v;
    bool grey;
  };
  const Sampling samplings[] = {{1, 1, false}, {2, 1, false}, {2, 2, false}, {1, 2, false}, {1, 1, true}};
  const int sizes[][2] = {{261, 173}, {16, 16}, {1, 1}, {35, 600}};
  int n = 0;
  for (const Sampling& s : samplings) {
    const auto scripts = Scripts(s.grey);
    for (size_t script = 0; script < scripts.size(); ++script) {
      for (int restart = 0; restart < 3; ++restart) {
        for (const auto& size : sizes) {
          JpegOptions o;
          o.lumaH = s.h;
          o.lumaV = s.v;
          o.grey = s.grey;
          o.quality = 95 - 20 * restart;
          o.progressive = true;
          o.scans = scripts[script];
          o.restartRows = restart == 1 ? 1 : 0;
          o.restartMcus = restart == 2 ? 7 : 0;
          o.orientation = restart == 2 ? 6 : 1;
          const std::string what = "sampling " + std::to_string(s.h) + "x" + std::to_string(s.v) +
                                   (s.grey ? " grey" : "") + " script " + std::to_string(script) + " restart " +
                                   std::to_string(restart) + " size " + std::to_string(size[0]) + "x" +
                                   std::to_string(size[1]);
          const std::string path = dir.file("p" + std::to_string(n++) + ".jpg");
          WriteBusy(path, size[0], size[1], o);
          std::string rewritten, e1, e2;
          bool opened;
          ASSERT_TRUE(Rewrite(path, rewritten, opened)) << what;
          const Bitmap original = Decode(ReadAll(path), e1), copy = Decode(rewritten, e2);
          ASSERT_FALSE(original.empty()) << what << e1;
          ASSERT_FALSE(copy.empty()) << what << e2;
          EXPECT_TRUE(SamePixels(original, copy)) << what;
          // The EXIF orientation travels with the picture.
          JpegInfo info;
          ASSERT_TRUE(Succeeded(ReadJpegInfo(path, info)));
          EXPECT_EQ(info.orientation, o.orientation) << what;
        }
      }
    }
  }
}

// Files the rewrite leaves to libjpeg, and damage: whenever the rewrite does
// finish, libjpeg decodes the original without complaint to the same pixels.
TEST(ProgressiveStream, StepsAsideForWhatItCannotReproduce) {
  TempDir dir;
  std::string out;
  bool opened;
  JpegOptions sequential;
  WriteBusy(dir.file("seq.jpg"), 64, 48, sequential);
  EXPECT_FALSE(Rewrite(dir.file("seq.jpg"), out, opened));
  EXPECT_FALSE(opened);

  // Bits never sent leave libjpeg smoothing the blocks: not reproduced.
  JpegOptions incomplete;
  incomplete.progressive = true;
  incomplete.scans = {{{0, 1, 2}, 0, 0, 0, 1}, {{0}, 1, 63, 0, 1}, {{1}, 1, 63, 0, 0}, {{2}, 1, 63, 0, 0}};
  WriteBusy(dir.file("incomplete.jpg"), 64, 48, incomplete);
  EXPECT_FALSE(Rewrite(dir.file("incomplete.jpg"), out, opened));
  EXPECT_FALSE(opened);

  JpegOptions o;
  o.progressive = true;
  o.restartRows = 2;
  WriteBusy(dir.file("good.jpg"), 300, 200, o);
  const std::string good = ReadAll(dir.file("good.jpg"));
  WriteAll(dir.file("cut.jpg"), good.substr(0, good.size() - 2));
  EXPECT_FALSE(Rewrite(dir.file("cut.jpg"), out, opened));
  int finished = 0, refused = 0;
  for (size_t at = 700; at < good.size() - 2; at += good.size() / 97) {
    for (int flip : {0x01, 0x5A, 0xFF}) {
      std::string damaged = good;
      damaged[at] = static_cast<char>(damaged[at] ^ flip);
      const std::string path = dir.file("damaged.jpg");
      WriteAll(path, damaged);
      if (!Rewrite(path, out, opened)) {
        ++refused;
        continue;
      }
      ++finished;
      std::string e1, e2;
      const Bitmap original = Decode(damaged, e1), copy = Decode(out, e2);
      ASSERT_FALSE(original.empty()) << "byte " << at << " flip " << flip << ": " << e1;
      EXPECT_TRUE(SamePixels(original, copy)) << "byte " << at << " flip " << flip;
    }
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(finished, 0);
}

// libjpeg takes each piece as a fill of its input buffer, and an empty fill
// reported as success makes it read past the buffer. Rows that a thumbnail
// skips are written as flat blocks, so a narrow picture's rows can encode
// to no bytes at all: they must travel with a later piece.
TEST(ProgressiveStream, PiecesAreNeverEmpty) {
  TempDir dir;
  std::vector<std::string> paths;
  const std::string kept = std::string(PICTAVO_SOURCE_DIR) + "/tests/data/progressive-strips/";
  for (const char* name : {"flat-grey-8x16.jpg", "gradient-grey-40x5000.jpg", "photo-grey-16x6000.jpg",
                           "photo-422-16x6000.jpg"}) {
    paths.push_back(kept + name);
  }
  for (int w : {1, 8, 16, 33}) {
    JpegOptions o;
    o.progressive = true;
    o.grey = w % 2 == 0;
    Bitmap flat = PatternPicture(w, 3000);
    std::fill(flat.data.begin(), flat.data.end(), uint8_t{200});
    paths.push_back(dir.file("flat" + std::to_string(w) + ".jpg"));
    WriteTestJpeg(paths.back(), flat, o);
  }
  for (const std::string& path : paths) {
    for (bool fewRows : {false, true}) {
      JpegInfo info;
      ASSERT_TRUE(Succeeded(ReadJpegInfo(path, info))) << path;
      const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      ASSERT_GE(fd, 0);
      ProgressiveStream stream;
      ASSERT_TRUE(stream.open(fd)) << path;
      if (fewRows) stream.needRows({0, info.height - 1});
      std::string out;
      const uint8_t* data;
      size_t size;
      int pieces = 0;
      while (stream.next(data, size)) {
        EXPECT_GT(size, 0u) << path << " piece " << pieces;
        out.append(reinterpret_cast<const char*>(data), size);
        ++pieces;
      }
      ::close(fd);
      EXPECT_FALSE(stream.failed()) << path;
      ASSERT_GE(out.size(), 2u);
      EXPECT_EQ(out.substr(out.size() - 2), "\xFF\xD9") << path;
      if (!fewRows) {
        std::string e1, e2;
        EXPECT_TRUE(SamePixels(Decode(ReadAll(path), e1), Decode(out, e2))) << path << e1 << e2;
      }
    }
  }
}

// Streaming a large progressive picture holds rows, not its coefficients.
TEST(ProgressiveStream, StreamingMemoryDoesNotHoldTheCoefficients) {
  TempDir dir;
  JpegOptions o;
  o.progressive = true;
  WriteBusy(dir.file("big.jpg"), 2400, 1800, o);
  RowCount count;
  JpegInfo info;
  ASSERT_TRUE(Succeeded(StreamJpegFile(dir.file("big.jpg"), count, info)));
  EXPECT_TRUE(info.progressive);
  EXPECT_EQ(count.starts, 1);
  EXPECT_EQ(count.rows, 1800);
  // 4:2:0 coefficients alone would be 2400 * 1800 * 1.5 * 2 bytes.
  EXPECT_LT(info.decoderBytes, 2'000'000);
}

// When the rewrite gives up half-way, the decode starts over from the file
// and the consumer sees the rows again from the top.
TEST(ProgressiveStream, DamageFoundLateStartsTheDecodeOver) {
  TempDir dir;
  JpegOptions o;
  o.progressive = true;
  WriteBusy(dir.file("good.jpg"), 320, 240, o);
  std::string bytes = ReadAll(dir.file("good.jpg"));
  // A stray byte after the last scan's data: libjpeg takes it silently (its
  // bit buffer reads ahead), the rewrite refuses it only at the last row.
  bytes.insert(bytes.size() - 2, 1, '\x12');
  WriteAll(dir.file("odd.jpg"), bytes);
  RowCount count;
  JpegInfo info;
  std::string e;
  const Bitmap full = Decode(bytes, e);
  const Status streamed = StreamJpegFile(dir.file("odd.jpg"), count, info);
  const bool ok = streamed.ok();
  EXPECT_EQ(ok, !full.empty()) << streamed.reason() << e;
  EXPECT_EQ(count.starts, 2);
  if (ok) {
    EXPECT_EQ(count.rows, 240);
  }
}

}  // namespace
}  // namespace pictavo
