// The settings file readers: the start-up reading and the load command, on
// any bytes. What they load must save again as a 97-line file.

#include <cstdint>
#include <cstdlib>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictavo::fuzz::CheckSettings(data, size).empty()) std::abort();
  return 0;
}
