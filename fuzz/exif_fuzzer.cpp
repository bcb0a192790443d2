// The EXIF orientation writer and the rewriter for a saved picture on raw
// APP1 payloads.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckExifOrientation(data, size).empty()) std::abort();
  if (!pictavo::fuzz::CheckExifRewrite(data, size).empty()) std::abort();
  return 0;
}
