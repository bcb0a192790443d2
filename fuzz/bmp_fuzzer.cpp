// Feeds arbitrary bytes to the BMP reader, then decodes what it accepted the
// way the conversion does (into a bitmap, then to 24 bits). Any exception of
// the reader is a clean refusal; a crash or sanitizer report is a bug.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "image/dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pictavo::TPxDIB dib;
  try {
    dib.LoadFromStream(std::string_view(reinterpret_cast<const char*>(data), size));
    // An RLE stream may declare a large picture in a few bytes; decoding it
    // is only zero-filling, so keep the fuzzer's time for other inputs.
    if (static_cast<int64_t>(dib.Width()) * dib.Height() > 4'000'000) return 0;
    pictavo::Bitmap bitmap;
    dib.AssignTo(bitmap);
    const pictavo::Bitmap rgb = pictavo::ToRgb24(bitmap);
    if (dib.header().biCompression == 0) {
      (void)dib.Pixels(dib.Width() - 1, dib.Height() - 1);
      (void)dib.ScanLine(0);
    }
    (void)rgb;
  } catch (const std::exception&) {
  }
  return 0;
}
