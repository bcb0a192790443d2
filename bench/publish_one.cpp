// pictavo_publishone IN OUT [MAX [QUALITY]]: publishes one picture as the
// publish command does (reduced to fit MAX x MAX when larger, upright, its
// location removed), for timing one picture against other programs.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sink.h"
#include "publish/published_picture.h"

using namespace pictavo;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: pictavo_publishone IN OUT [MAX [QUALITY]]\n");
    return 2;
  }
  const int max = argc > 3 ? std::atoi(argv[3]) : 2048;
  const int quality = argc > 4 ? std::atoi(argv[4]) : 85;
  PublishedSize size;
  std::string bytes;
  Status made = PlanPublishedPicture(argv[1], max, 0, 0, size);
  if (made.ok() && size.reduce) made = EncodePublishedPicture(argv[1], size, quality, false, bytes);
  if (!made.ok()) {
    std::fprintf(stderr, "%s\n", made.reason().c_str());
    return 1;
  }
  if (const Status written = size.reduce ? WriteFileAtomically(argv[2], bytes, false) : Status(); !written.ok()) {
    std::fprintf(stderr, "%s\n", written.reason().c_str());
    return 1;
  }
  std::printf("%d x %d%s\n", size.width, size.height, size.reduce ? "" : " (fits; not written)");
  return 0;
}
