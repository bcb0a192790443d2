// pictavo_thumbcheck [--box WxH] FILE...: makes each file's thumbnail both
// ways (full decode and streaming) on both paths and reports any difference.
// Real photographs complement the generated pictures of the tests.

#include <cstdio>
#include <cstring>
#include <string>

#include "album/thumbnail_stream.h"

using namespace pictavo;

int main(int argc, char** argv) {
  int tw = 110, th = 150, failures = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--box") == 0 && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &tw, &th) != 2) return 2;
      continue;
    }
    const std::string path = argv[i];
    for (bool filter : {false, true}) {
      ThumbnailJob job;
      job.tw = tw;
      job.th = th;
      job.filter = filter;
      StreamedThumbnail full, streamed;
      const Status s1 = MakeThumbnailFull(path, job, full);
      const Status s2 = MakeThumbnailStreaming(path, job, streamed);
      const bool ok1 = s1.ok(), ok2 = s2.ok();
      const std::string& error1 = s1.reason();
      const std::string& error2 = s2.reason();
      const Bitmap& a = full.thumbnail;
      const Bitmap& b = streamed.thumbnail;
      const bool same = ok1 == ok2 && error1 == error2 && full.width == streamed.width &&
                        full.height == streamed.height && full.path == streamed.path && a.width == b.width &&
                        a.height == b.height && a.bitsPerPixel == b.bitsPerPixel && a.data == b.data &&
                        a.palette == b.palette;
      if (!same) ++failures;
      std::printf("%-50s %s %s %s\n", path.c_str(), filter ? "filter" : "normal", same ? "same" : "DIFFERENT",
                  ok1 ? "" : error1.c_str());
    }
  }
  return failures == 0 ? 0 : 1;
}
