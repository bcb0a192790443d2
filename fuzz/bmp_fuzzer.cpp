// Feeds arbitrary bytes to the BMP reader, then decodes what it accepted the
// way the conversion does (into a bitmap, then to 24 bits). Any exception of
// the reader is a clean refusal; a crash or sanitizer report is a bug.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckBmp(data, size).empty()) std::abort();
  return 0;
}
