// CP932 decoding, with and without turning references back, and encoding
// what was decoded: the text is always valid UTF-8, and text read with
// references turned back survives being written and read again unchanged
// (what the settings and comment files rely on).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pictavo;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string plain = Cp932ToUtf8(bytes, false);
  if (!IsValidUtf8(plain)) std::abort();
  const std::string text = Cp932ToUtf8(bytes, true);
  if (!IsValidUtf8(text)) std::abort();
  if (Cp932ToUtf8(Utf8ToCp932(text), true) != text) std::abort();
  // Any bytes as UTF-8 text (invalid sequences become "?").
  (void)Utf8ToCp932(bytes);
  return 0;
}
