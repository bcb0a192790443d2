// The JPEG header reader and its EXIF orientation reader, on a file and on
// raw segment bytes, then the full decode of what the header admits.

#include <cstdint>
#include <string>

#include "fuzz_util.h"
#include "image/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pictavo;
  const int orientation = ParseExifOrientation(data, size);
  if (orientation < 1 || orientation > 8) std::abort();
  const std::string path = fuzz::WriteInput(data, size, "header.jpg");
  JpegInfo info;
  std::string error;
  if (!ReadJpegInfo(path, info, error)) return 0;
  if (info.width <= 0 || info.height <= 0 || info.width > kMaxPictureSide || info.height > kMaxPictureSide) {
    std::abort();
  }
  if (info.orientation < 1 || info.orientation > 8) std::abort();
  if (static_cast<int64_t>(info.width) * info.height > 4'000'000) return 0;
  Bitmap picture;
  if (DecodeJpegMemory(data, size, picture, info, error)) {
    if (picture.width != info.width || picture.height != info.height) std::abort();
    if (picture.data.size() != picture.stride * static_cast<size_t>(picture.height)) std::abort();
  }
  return 0;
}
