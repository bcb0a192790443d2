#pragma once
// JPEG encoding fed row by row, for a picture that is made as it is encoded
// and never held whole. The bytes are exactly those EncodeJpeg writes for the
// same rows, quality and segments: baseline, jpeg_set_defaults and
// jpeg_set_quality(q, TRUE), a grey picture written in colour as EncodeJpeg
// writes one with the grey palette. Errors are kept, not thrown: after the
// first, every call fails with it, and status() holds it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/jpeg.h"

namespace pictavo {

class JpegRowEncoder {
 public:
  JpegRowEncoder();
  ~JpegRowEncoder();
  JpegRowEncoder(const JpegRowEncoder&) = delete;
  JpegRowEncoder& operator=(const JpegRowEncoder&) = delete;

  // Begins a width x height picture whose rows hold `channels` values a pixel
  // (3: red, green, blue; 1: grey), the segments written after the JFIF header.
  Status start(int width, int height, int channels, int quality, const std::vector<JpegSegment>& segments);
  // The next `count` rows, top to bottom, each width x channels bytes.
  Status write(const uint8_t* const* rows, int count);
  // After the last row: the file's bytes.
  Status finish(std::string& bytes);
  // The first failure since start(); success while there is none.
  const Status& status() const { return m_status; }

 private:
  struct Core;
  Status writeGreyGroup();
  Status fail(ErrorCode code, std::string reason);
  Status failInLibjpeg();

  std::unique_ptr<Core> m_core;
  int m_width = 0;
  int m_height = 0;
  int m_channels = 3;
  int m_given = 0;                      // rows written so far
  std::vector<const uint8_t*> m_rows;   // the rows handed to libjpeg
  // Grey: luma rows of one MCU row, widened to whole blocks, and a row of
  // neutral chroma, given to libjpeg as they are (see write()).
  std::vector<uint8_t> m_group;
  std::vector<uint8_t> m_chroma;
  size_t m_lumaWidth = 0;
  int m_fill = 0;  // rows in m_group
  Status m_status;
};

}  // namespace pictavo
