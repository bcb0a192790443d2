// The thumbnail pipeline as the album run drives it: results in list order,
// and a caller that keeps its window answering while it waits.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "album/thumbnail_pipeline.h"
#include "fixtures.h"
#include "test_util.h"

namespace pictavo {
namespace {

ThumbnailTask Task(const std::string& picture, const std::string& thumbnail) {
  ThumbnailTask t;
  t.picturePath = picture;
  t.thumbnailPath = thumbnail;
  t.job.tw = 16;
  t.job.th = 12;
  t.skipExisting = true;
  t.quality = 80;
  return t;
}

// The second task tests for the thumbnail the first one makes, so it cannot
// start before the run says that file is written. The wait for it must keep
// calling back, and the run may finish the first file from that callback.
TEST(ThumbnailPipeline, WaitingCallsBackUntilTheResultIsThere) {
  TempDir dir;
  MakeJpeg(dir.file("a.jpg"), 64, 48);
  MakeJpeg(dir.file("b.jpg"), 64, 48);
  ThumbnailPipeline pipeline({Task(dir.file("a.jpg"), dir.file("t.jpg")), Task(dir.file("b.jpg"), dir.file("t.jpg"))},
                             2);
  ThumbnailResult first = pipeline.take();
  ASSERT_TRUE(first.readOk && first.encoded);

  int calls = 0;
  ThumbnailResult second = pipeline.take(
      [&] {
        if (++calls == 3) {
          WriteAll(dir.file("t.jpg"), first.bytes);
          pipeline.finished();
        }
      },
      std::chrono::milliseconds(1));
  EXPECT_GE(calls, 3);
  ASSERT_TRUE(second.readOk);
  // It saw the file the run wrote and kept it.
  EXPECT_EQ(second.made.path, ThumbnailPath::Kept);
}

// Which earlier entry each picture waits for: a picture that is an earlier
// entry's thumbnail (prefixed names in the album folder), and, with kept
// thumbnails, the same picture listed again. The latest writer counts.
TEST(ThumbnailPipeline, WaitsForTheLatestEarlierWriterOfItsFiles) {
  struct Step {
    const char* reads;
    const char* writes;
    bool keep;
    long long waitsFor;
  };
  const auto check = [](const std::vector<Step>& steps) {
    WriterIndex index;
    for (size_t i = 0; i < steps.size(); ++i) {
      EXPECT_EQ(index.add(steps[i].reads, steps[i].writes, steps[i].keep), steps[i].waitsFor) << "entry " << i;
    }
  };
  check({{"a", "s_a", false, -1},
         {"s_a", "s_s_a", false, 0},  // reads the thumbnail entry 0 writes
         {"a", "s_a", true, 0},       // listed again, tests its own thumbnail
         {"b", "s_b", false, -1},
         {"s_a", "s_s_a", true, 2}}); // reads entry 2's s_a, tests entry 1's s_s_a: the later counts
  // Not keeping: only what it reads counts.
  check({{"a", "s_a", false, -1}, {"a", "s_a", false, -1}, {"s_a", "t", false, 1}});
  // A thumbnail that is its own picture (thumbnail folder "." without prefix) waits for nobody.
  check({{"x", "x", true, -1}, {"x", "x", true, 0}});
}

// Tens of thousands of pictures must not be compared pair by pair before the
// first one is made: the comparisons stay within a small multiple of n log n.
TEST(ThumbnailPipeline, FindingWaitsComparesNoPairs) {
  const size_t n = 50000;
  for (bool keep : {false, true}) {
    size_t comparisons = 0;
    WriterIndex index(&comparisons);
    bool none = true;
    for (size_t i = 0; i < n; ++i) {
      const std::string name = "IMG_" + std::to_string(100000 + i) + ".jpg";
      none = none && index.add("/album/" + name, "/album/htm_image/" + name, keep) == -1;
    }
    EXPECT_TRUE(none);
    // Up to three look-ups per picture, about two comparisons per tree level
    // (log2 50000 < 16); pair by pair would be over a billion.
    EXPECT_LE(comparisons, 3 * 2 * 17 * n) << "keep " << keep;
  }
}

// The run's tasks are asked for only a window ahead of what it has taken, so
// a long list costs nothing before its first picture; they still come back
// in order, each once.
TEST(ThumbnailPipeline, TakesTasksFromItsSourceOnlyAsNeeded) {
  TempDir dir;
  MakeJpeg(dir.file("a.jpg"), 32, 24);
  const size_t total = 200;
  size_t given = 0;
  ThumbnailPipeline pipeline(
      [&]() -> std::optional<ThumbnailTask> {
        if (given == total) return std::nullopt;
        ThumbnailTask t = Task(dir.file("a.jpg"), dir.file("t" + std::to_string(given) + ".jpg"));
        t.job.tw = 10 + static_cast<int>(given++ % 20);  // the width tells the results apart
        t.job.th = 1000;
        return t;
      },
      total, 2);
  EXPECT_LT(given, 40u);
  for (size_t i = 0; i < total; ++i) {
    ThumbnailResult r = pipeline.take();
    ASSERT_TRUE(r.readOk && r.encoded) << i;
    EXPECT_EQ(r.made.thumbnail.width, 10 + static_cast<int>(i % 20)) << i;
    EXPECT_LE(given, i + 40);
    pipeline.finished();
  }
}

}  // namespace
}  // namespace pictavo
