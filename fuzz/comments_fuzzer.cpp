// The comment file reader on any bytes, then matching against a few names.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckComments(data, size).empty()) std::abort();
  return 0;
}
