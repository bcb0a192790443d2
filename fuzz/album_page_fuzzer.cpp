// The table of contents' reader of album pages: the first seven lines of a
// page found in a sub-folder, cut into fields by position.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckAlbumPage(data, size).empty()) std::abort();
  return 0;
}
