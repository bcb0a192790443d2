// The site check's reader of pages, and the check over a folder holding the
// page: any bytes, never a crash, nothing named outside the folder.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckSitePage(data, size).empty()) std::abort();
  return 0;
}
