#include "test_jpeg.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace pictavo {

namespace {

std::vector<uint8_t> ExifOrientation(int orientation) {
  std::vector<uint8_t> b = {'E', 'x', 'i', 'f', 0, 0,  // header
                            'I', 'I', 42, 0, 8, 0, 0, 0,  // TIFF, first IFD at 8
                            1, 0,                          // one entry
                            0x12, 0x01, 3, 0, 1, 0, 0, 0,  // orientation, SHORT, count 1
                            static_cast<uint8_t>(orientation), 0, 0, 0,
                            0, 0, 0, 0};  // no next IFD
  return b;
}

}  // namespace

std::string MakeTestJpeg(int width, int height, const TestJpegOptions& o) {
  // libjpeg's default error handler ends the test program on a misuse here,
  // which is loud enough for a fixture.
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = o.grey ? 1 : 3;
  cinfo.in_color_space = o.grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, o.quality, TRUE);
  if (!o.grey) {
    cinfo.comp_info[0].h_samp_factor = o.lumaH;
    cinfo.comp_info[0].v_samp_factor = o.lumaV;
    for (int c = 1; c < 3; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
  }
  if (o.progressive) jpeg_simple_progression(&cinfo);
  cinfo.restart_in_rows = o.restartRows;
  jpeg_start_compress(&cinfo, TRUE);
  if (o.orientation > 0) {
    const std::vector<uint8_t> exif = ExifOrientation(o.orientation);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
  }
  const int channels = o.grey ? 1 : 3;
  std::vector<uint8_t> row(static_cast<size_t>(width) * channels);
  uint32_t noise = 12345;
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      const int n = static_cast<int>((noise >> 16) & 63);
      const int v[3] = {(x * 255 / (width > 1 ? width - 1 : 1) + n) & 255, ((x ^ y) * 8 + n) & 255,
                        ((y * 255 / (height > 1 ? height - 1 : 1)) + ((x / 7 + y / 5) % 2) * 90) & 255};
      for (int c = 0; c < channels; ++c) row[static_cast<size_t>(x) * channels + c] = static_cast<uint8_t>(v[c]);
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return bytes;
}

}  // namespace pictavo
