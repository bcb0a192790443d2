// CP932 decoding, with and without turning references back, and encoding
// what was decoded: the text is always valid UTF-8, and text read with
// references turned back survives being written and read again unchanged
// (what the settings and comment files rely on).

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckCp932(data, size).empty()) std::abort();
  return 0;
}
