// The comment file reader on any bytes, then matching against a few names.

#include <cstdint>
#include <string>

#include "mainwin/comment_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pictavo;
  const CommentFile file = ParseCommentFile(std::string(reinterpret_cast<const char*>(data), size));
  if (file.records.size() > kMaxCommentRecords) std::abort();
  const auto slots = MatchComments(file.records, {"a.jpg", "B.JPG", "写真.jpg", ""});
  if (slots.size() != 4) std::abort();
  return 0;
}
