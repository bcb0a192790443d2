// The main preview's decoder: the newest request wins, an overtaken result
// is never handed over, and the decode rule turns the picture upright.

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "exif_builder.h"
#include "fixtures.h"
#include "image/jpeg.h"
#include "session/preview_decoder.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

// A decode that waits until the test lets each path through.
class HeldDecode {
 public:
  PreviewPicture operator()(const std::string& path) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_started.push_back(path);
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_open.count(path) > 0; });
    PreviewPicture p;
    p.ok = true;
    p.error = path;  // tells the results apart
    return p;
  }
  void release(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open.insert(path);
    m_changed.notify_all();
  }
  void waitStarted(size_t count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_started.size() >= count; });
  }
  std::vector<std::string> started() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_started;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::set<std::string> m_open;
  std::vector<std::string> m_started;
};

struct Delivered {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<uint64_t, std::string>> results;
  void add(uint64_t ticket, const PreviewPicture& p) { add(ticket, p.error); }
  void add(uint64_t ticket, const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex);
    results.emplace_back(ticket, what);
    changed.notify_all();
  }
  void waitFor(size_t count) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return results.size() >= count; });
  }
};

TEST(PreviewDecoder, TheNewestRequestWinsAndOvertakenOnesAreDropped) {
  HeldDecode held;
  Delivered delivered;
  PreviewDecoder decoder([&](uint64_t t, PreviewPicture p) { delivered.add(t, p); },
                         [&](const std::string& path) { return held(path); });
  const uint64_t a = decoder.request("a");
  held.waitStarted(1);  // a is being decoded; the request returned meanwhile
  const uint64_t b = decoder.request("b");
  const uint64_t c = decoder.request("c");  // b never starts
  EXPECT_FALSE(decoder.current(a));
  EXPECT_FALSE(decoder.current(b));
  held.release("a");
  held.waitStarted(2);
  held.release("c");
  delivered.waitFor(1);
  EXPECT_EQ(held.started(), (std::vector<std::string>{"a", "c"}));
  ASSERT_EQ(delivered.results.size(), 1u);
  EXPECT_EQ(delivered.results[0], (std::pair<uint64_t, std::string>{c, "c"}));
  EXPECT_TRUE(decoder.current(c));

  // Cancelled while decoding: nothing comes, and the decoder still ends cleanly.
  decoder.request("d");
  held.waitStarted(3);
  decoder.cancel();
  held.release("d");
  decoder.request("e");
  held.waitStarted(4);
  held.release("e");
  delivered.waitFor(2);
  EXPECT_EQ(delivered.results.back().second, "e");
  EXPECT_EQ(delivered.results.size(), 2u);
}

TEST(PreviewDecoder, DecodeFitsTheUprightPictureAndNamesAFailure) {
  TempDir dir;
  JpegOptions sideways;
  sideways.orientation = 6;
  MakeJpeg(dir.file("s.jpg"), 64, 48, sideways);  // seen 48 x 64
  const PreviewPicture p = DecodePreview(dir.file("s.jpg"));
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.fitWidth, 112);
  EXPECT_EQ(p.fitHeight, 150);
  EXPECT_EQ(p.picture.width, 48);
  EXPECT_EQ(p.picture.height, 64);
  WriteAll(dir.file("bad.jpg"), "not a picture");
  const PreviewPicture bad = DecodePreview(dir.file("bad.jpg"));
  EXPECT_FALSE(bad.ok);
  EXPECT_FALSE(bad.error.empty());
}

// The embedded thumbnail stands in while the picture decodes, but only one
// of the picture's proportions: a square one on a 4:3 photo would jump.
TEST(PreviewDecoder, EmbeddedThumbnailIsUsedOnlyWithThePicturesProportions) {
  TempDir dir;
  const auto write = [&](const std::string& name, int tw, int th) {
    Bitmap thumb = Bitmap::Create(tw, th, 24);
    ExifSpec spec;
    spec.orientation = 1;
    std::string bytes;
    EXPECT_TRUE(Succeeded(EncodeJpeg(thumb, 80, spec.thumbnail)));
    EXPECT_TRUE(Succeeded(EncodeJpeg(Bitmap::Create(64, 48, 24), 80, {{0xE1, BuildExif(spec)}}, bytes)));
    WriteAll(dir.file(name), bytes);
  };
  write("fits.jpg", 16, 12);
  write("square.jpg", 16, 16);
  const PreviewPicture fits = EmbeddedPreview(dir.file("fits.jpg"));
  ASSERT_TRUE(fits.ok) << fits.error;
  EXPECT_EQ(fits.picture.width, 16);
  EXPECT_EQ(fits.fitWidth, 150);
  EXPECT_EQ(fits.fitHeight, 112);
  EXPECT_FALSE(EmbeddedPreview(dir.file("square.jpg")).ok);
  MakeJpeg(dir.file("none.jpg"), 64, 48);
  EXPECT_FALSE(EmbeddedPreview(dir.file("none.jpg")).ok);

  // Handed over first, then the picture, for the same request.
  Delivered delivered;
  {
    PreviewDecoder decoder([&](uint64_t t, PreviewPicture p) { delivered.add(t, std::to_string(p.picture.width)); });
    decoder.request(dir.file("fits.jpg"));
    delivered.waitFor(2);
  }
  EXPECT_EQ(delivered.results[0].second, "16");
  EXPECT_EQ(delivered.results[1].second, "64");
  EXPECT_EQ(delivered.results[0].first, delivered.results[1].first);
}

}  // namespace
}  // namespace pictavo
