// Feeds arbitrary bytes to the reader of a later start's hand-over message:
// a message it takes must read back the same after being written again.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckHandOver(data, size).empty()) std::abort();
  return 0;
}
