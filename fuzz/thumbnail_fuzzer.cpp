// The streaming thumbnail path (with the progressive rewrite) checked against
// the straightforward full decode. The first byte picks the box, the filter
// and whether the thumbnail is kept; the rest is the picture file. Whenever
// libjpeg decodes the file without error both thumbnails must be identical,
// and whenever one way fails the other must fail too.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "album/thumbnail_stream.h"
#include "fuzz_util.h"
#include "image/jpeg.h"

namespace {

[[noreturn]] void Mismatch(const char* what) {
  (void)what;  // visible in the debugger; the crash input is what matters
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pictavo;
  if (size < 1) return 0;
  const uint8_t mode = data[0];
  const std::string path = fuzz::WriteInput(data + 1, size - 1, "picture.jpg");

  // Declared sizes beyond a few megapixels only cost time here: the decoders'
  // own limits are tested on their own.
  JpegInfo info;
  std::string error;
  if (ReadJpegInfo(path, info, error) && static_cast<int64_t>(info.width) * info.height > 4'000'000) return 0;

  static const int kBoxes[4][2] = {{110, 150}, {16, 16}, {7, 3}, {300, 200}};
  ThumbnailJob job;
  job.tw = kBoxes[mode & 3][0];
  job.th = kBoxes[mode & 3][1];
  job.filter = (mode & 4) != 0;
  job.keepExisting = (mode & 8) != 0;

  StreamedThumbnail streamed, full;
  std::string streamError, fullError;
  const bool streamOk = MakeThumbnailStreaming(path, job, streamed, streamError);
  const bool fullOk = MakeThumbnailFull(path, job, full, fullError);
  if (streamOk != fullOk) Mismatch("one way failed, the other did not");
  if (!fullOk) return 0;
  if (streamed.width != full.width || streamed.height != full.height || streamed.path != full.path) {
    Mismatch("sizes or paths differ");
  }
  const Bitmap& a = streamed.thumbnail;
  const Bitmap& b = full.thumbnail;
  if (a.width != b.width || a.height != b.height || a.bitsPerPixel != b.bitsPerPixel || a.stride != b.stride ||
      a.data != b.data || a.palette != b.palette) {
    Mismatch("thumbnails differ");
  }
  return 0;
}
