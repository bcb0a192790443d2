// The streaming thumbnail path (with the progressive rewrite) checked against
// the straightforward full decode. The first byte picks the box, the filter
// and whether the thumbnail is kept; the rest is the picture file. Whenever
// libjpeg decodes the file without error both thumbnails must be identical,
// and whenever one way fails the other must fail too.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckThumbnail(data, size).empty()) std::abort();
  return 0;
}
