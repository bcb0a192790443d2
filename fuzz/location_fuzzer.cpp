// Taking the location out of EXIF, XMP and a file head, and the publish manifest.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckLocation(data, size).empty()) std::abort();
  return 0;
}
