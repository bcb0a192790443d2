// pictavo_thumbcheck [--box WxH] FILE...: makes each file's thumbnail both
// ways (full decode, turn upright, stretch or filter; and streaming) on both
// paths and reports any difference. Real photographs complement the
// generated pictures of the tests.

#include <cstdio>
#include <cstring>
#include <string>

#include "album/album_page.h"
#include "album/thumbnail.h"
#include "album/thumbnail_stream.h"
#include "image/jpeg.h"

using namespace pictavo;

namespace {

bool Same(const Bitmap& a, const Bitmap& b) {
  return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel && a.data == b.data &&
         a.palette == b.palette;
}

}  // namespace

int main(int argc, char** argv) {
  int tw = 110, th = 150, failures = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--box") == 0 && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &tw, &th) != 2) return 2;
      continue;
    }
    const std::string path = argv[i];
    Bitmap full;
    JpegInfo info;
    std::string error;
    if (!DecodeJpegFile(path, full, info, error)) {
      std::printf("%s: unreadable: %s\n", path.c_str(), error.c_str());
      ++failures;
      continue;
    }
    if (info.orientation != 1) full = ApplyOrientation(full, info.orientation);
    const DisplaySize ds = ThumbnailDisplaySize(full.width, full.height, tw, th);
    for (bool filter : {false, true}) {
      Bitmap reference;
      if (filter && (full.width > tw || full.height > th)) {
        reference = FilterThumbnail(full, tw, th, ds.ratio);
      } else {
        reference = StretchSample(full, static_cast<int>(ds.width > 0 ? ds.width : 1),
                                  static_cast<int>(ds.height > 0 ? ds.height : 1));
      }
      ThumbnailJob job;
      job.tw = tw;
      job.th = th;
      job.filter = filter;
      StreamedThumbnail made;
      const bool ok = MakeThumbnailStreaming(path, job, made, error);
      const bool same = ok && Same(reference, made.thumbnail);
      if (!same) ++failures;
      std::printf("%-50s %s %s\n", path.c_str(), filter ? "filter" : "normal", same ? "same" : "DIFFERENT");
    }
  }
  return failures == 0 ? 0 : 1;
}
