#include "fixtures.h"

#include <cstdio>
#include <stdexcept>
#include <string>
// jpeglib.h needs FILE and size_t first.
#include <jpeglib.h>

#include "test_util.h"

namespace pictavo {

Bitmap PatternPicture(int w, int h, unsigned seed) {
  Bitmap b = Bitmap::Create(w, h, 24);
  uint32_t state = seed * 2654435761u + 12345u;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.row(y);
    for (int x = 0; x < w; ++x) {
      state = state * 1664525u + 1013904223u;
      row[3 * x] = static_cast<uint8_t>((x * 255) / std::max(1, w - 1));
      row[3 * x + 1] = static_cast<uint8_t>((y * 255) / std::max(1, h - 1));
      row[3 * x + 2] = static_cast<uint8_t>(state >> 24);
    }
  }
  return b;
}

namespace {
std::string ExifSegment(int orientation) {
  std::string tiff = std::string("MM\x00\x2a\x00\x00\x00\x08", 8);
  tiff += std::string("\x00\x01", 2);                                   // one entry
  tiff += std::string("\x01\x12\x00\x03\x00\x00\x00\x01", 8);           // orientation, SHORT, 1
  tiff += static_cast<char>(0);
  tiff += static_cast<char>(orientation);
  tiff += std::string("\x00\x00", 2);
  tiff += std::string("\x00\x00\x00\x00", 4);                           // no next IFD
  return std::string("Exif\0\0", 6) + tiff;
}
}  // namespace

void WriteTestJpeg(const std::string& path, const Bitmap& picture, const JpegOptions& options) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  cinfo.input_components = options.grey ? 1 : 3;
  cinfo.in_color_space = options.grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  if (!options.grey) {
    cinfo.comp_info[0].h_samp_factor = options.lumaH;
    cinfo.comp_info[0].v_samp_factor = options.lumaV;
  }
  if (options.progressive) jpeg_simple_progression(&cinfo);
  std::vector<jpeg_scan_info> script;
  for (const ScanSpec& spec : options.scans) {
    jpeg_scan_info scan{};
    scan.comps_in_scan = static_cast<int>(spec.comps.size());
    for (size_t i = 0; i < spec.comps.size(); ++i) scan.component_index[i] = spec.comps[i];
    scan.Ss = spec.ss;
    scan.Se = spec.se;
    scan.Ah = spec.ah;
    scan.Al = spec.al;
    script.push_back(scan);
  }
  if (!script.empty()) {
    cinfo.scan_info = script.data();
    cinfo.num_scans = static_cast<int>(script.size());
  }
  cinfo.restart_in_rows = options.restartRows;
  cinfo.restart_interval = static_cast<unsigned>(options.restartMcus);
  jpeg_start_compress(&cinfo, TRUE);
  if (options.orientation != 1) {
    const std::string exif = ExifSegment(options.orientation);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                      static_cast<unsigned>(exif.size()));
  }
  std::vector<uint8_t> grey(static_cast<size_t>(picture.width));
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint8_t* src = picture.row(static_cast<int>(cinfo.next_scanline));
    JSAMPROW row;
    if (options.grey) {
      for (int x = 0; x < picture.width; ++x) grey[x] = src[3 * x + 1];
      row = grey.data();
    } else {
      row = const_cast<JSAMPROW>(src);
    }
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  WriteAll(path, std::string(reinterpret_cast<char*>(buffer), size));
  std::free(buffer);
}

std::string TinyBmp() {
  return std::string(
      "BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0"
      "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xFF\0\0\0",
      58);
}

void MakeJpeg(const std::string& path, int w, int h, const JpegOptions& options) {
  WriteTestJpeg(path, PatternPicture(w, h), options);
}

}  // namespace pictavo
