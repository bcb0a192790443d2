#pragma once
// Generated JPEG files for the tests: chosen sampling factors, progressive
// or baseline, restart markers, greyscale and an EXIF orientation.

#include <string>

namespace pictavo {

struct TestJpegOptions {
  int lumaH = 2;  // luma sampling factors; chroma is 1 x 1 (2 x 2 is 4:2:0)
  int lumaV = 2;
  bool grey = false;
  bool progressive = false;
  int restartRows = 0;  // restart interval in MCU rows, 0 for none
  int orientation = 0;  // EXIF orientation tag, 0 for no EXIF segment
  int quality = 90;
};

// A busy picture (edges, gradients, noise) that shows any difference in
// upsampling or sampling, as a JPEG file's bytes.
std::string MakeTestJpeg(int width, int height, const TestJpegOptions& options = {});

}  // namespace pictavo
