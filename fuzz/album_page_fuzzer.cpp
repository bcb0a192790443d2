// The table of contents' reader of album pages: the first seven lines of a
// page found in a sub-folder, cut into fields by position.

#include <cstdint>
#include <string>

#include "fuzz_util.h"
#include "toc/discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pictavo;
  const std::string path = fuzz::WriteInput(data, size, "index.htm");
  AlbumHead head;
  std::string error;
  if (ReadAlbumHead(path, head, error) && head.recognised != IsAlbumPage(head.markerLine)) std::abort();
  return 0;
}
