// The JPEG header reader and its EXIF orientation reader, on a file and on
// raw segment bytes, then the full and the preview decode of what the
// header admits.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckJpegHeader(data, size).empty()) std::abort();
  return 0;
}
