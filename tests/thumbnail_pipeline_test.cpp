// The thumbnail pipeline as the album run drives it: results in list order,
// and a caller that keeps its window answering while it waits.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pictavo
