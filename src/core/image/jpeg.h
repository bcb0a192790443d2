#pragma once
// JPEG files through libjpeg-turbo. Decoding uses the library defaults (the
// accurate integer DCT and fancy upsampling), full scale; encoding is baseline
// with jpeg_set_defaults and jpeg_set_quality(q, TRUE). Pictures come from
// anywhere, so the decoder is hardened: the declared size is checked against
// named limits before any pixel buffer exists, libjpeg's own memory is capped,
// progressive files may not have absurd numbers of scans, and a file that
// decodes only with "corrupt data" warnings counts as damaged: the first such
// warning ends the decode there, so that damage is reported where it is met,
// not after a whole picture's buffers have been filled. Failures come
// back as a Status whose reason is the text a user sees; libjpeg's errors
// never unwind through C++ frames.
//
// The codes: NotFound or CannotRead when the file cannot be opened, Damaged
// for cut or corrupt data (and bytes that are no JPEG at all), TooLarge for
// the size and memory limits, Unsupported for a well-formed file the decoder
// does not take (a CMYK picture, say, or a lossless one), CannotWrite when the
// file cannot be written.

#include <cstdint>
#include <string>
#include <vector>

#include "image/bitmap.h"
#include "platform/error.h"

namespace pictavo {

// The largest picture the program accepts, for JPEG and BMP alike: room for
// real panoramas (a 50000 x 10000 stitch), far below what would exhaust memory.
inline constexpr int64_t kMaxPicturePixels = 600'000'000;
inline constexpr int kMaxPictureSide = 65500;
// Memory one decode may take for libjpeg's own buffers (a progressive file
// decoded the usual way holds every coefficient of the picture). A file that
// would need more is refused before anything is allocated for it, with a
// message that says so; the streaming thumbnail path needs only a few rows
// of blocks, so this bounds what only the full decode and the fallback need.
inline constexpr long kJpegMemoryLimit = 256L * 1024L * 1024L;
// Scans allowed in a progressive file; real encoders write about ten.
inline constexpr int kMaxProgressiveScans = 500;

struct JpegInfo {
  int width = 0;        // as stored
  int height = 0;
  int components = 0;   // 1 grey, 3 colour, 4 CMYK
  int orientation = 1;  // EXIF orientation, 1 when absent
  bool progressive = false;
  // The decoder settings in force once decoding started. Streamed rows match
  // a full decode only with the library defaults: fancy upsampling, full
  // scale (1/1) and the accurate integer DCT.
  bool fancyUpsampling = false;
  int scaleNum = 0;
  int scaleDenom = 0;
  bool accurateDct = false;
  int outputWidth = 0;  // the decoded size at that scale
  int outputHeight = 0;
  // Memory the decoder will take for this file, roughly: a progressive file
  // holds every coefficient of the picture, a sequential one a few rows.
  int64_t decoderBytes = 0;
};

// Reads the header (and the EXIF orientation) without decoding pixels. The
// size limits are not applied: nothing is allocated for the pixels.
Status ReadJpegInfo(const std::string& path, JpegInfo& info);

// Decodes at full size: colour to 24-bit RGB, greyscale to 8-bit grey. The
// pixels are as stored; info receives the header facts.
Status DecodeJpegFile(const std::string& path, Bitmap& out, JpegInfo& info);
Status DecodeJpegMemory(const uint8_t* data, size_t size, Bitmap& out, JpegInfo& info);
// For a picture that is only drawn, never written: decodes at the smallest
// DCT scale (1/8, 1/4, 1/2, else full) whose longer side still covers `box`
// pixels, several times faster than a full decode of a large photo.
Status DecodeJpegFileToCover(const std::string& path, int box, Bitmap& out, JpegInfo& info);

// Row-by-row decoding for callers that never hold the whole picture. After
// the header, the consumer names the rows it needs, in increasing order, and
// receives each as it is decoded (RGB, or grey for a greyscale file, as
// stored). The rows between are passed with jpeg_skip_scanlines, which still
// reads their entropy-coded data; the last row is always decoded, because a
// skip to the very end would stop reading, so damaged data anywhere fails as
// in a full decode. The file is read through a buffer, never held whole; a
// progressive file is rewritten row by row into a sequential one as it is
// read, so that its coefficients are never held whole either.
class JpegRowConsumer {
 public:
  virtual ~JpegRowConsumer() = default;
  // The header is read, nothing decoded or allocated for pixels yet. False
  // stops the stream here: StreamJpegFile then fails with an empty reason
  // and the code TooLarge, as the one consumer that stops does so for the
  // memory the decode would take.
  virtual bool header(const JpegInfo& info) {
    (void)info;
    return true;
  }
  // The header facts (and the decoder settings) are known. Called again,
  // with rows from the top, when a progressive file's decoding starts over
  // (see ProgressiveStream); the consumer then begins afresh.
  virtual void start(const JpegInfo& info) = 0;
  // The first needed row at or after y; the picture's height when none.
  virtual int nextRow(int y) = 0;
  virtual void takeRow(int y, const uint8_t* pixels) = 0;
};
// With coverBox > 0 the rows come at the DCT scale DecodeJpegFileToCover
// picks for that box (info.scaleDenom tells which), and the consumer must
// take every row.
Status StreamJpegFile(const std::string& path, JpegRowConsumer& consumer, JpegInfo& info, int coverBox = 0);

// A marker segment as stored in a file: the marker code (0xE1 for APP1,
// 0xFE for a comment) and its payload without the length bytes.
struct JpegSegment {
  int marker = 0;
  std::string data;
  bool operator==(const JpegSegment&) const = default;
};

// The segments that belong to the photographer rather than to the pixels, in
// file order: EXIF and XMP (APP1), the ICC profile (APP2 "ICC_PROFILE"),
// IPTC (APP13 "Photoshop 3.0") and comments (COM). Only the header is read.
Status ReadJpegMetadata(const std::string& path, std::vector<JpegSegment>& segments);

// Encodes an 8- or 24-bit picture as a baseline colour JPEG of quality 0..100.
Status EncodeJpeg(const Bitmap& picture, int quality, std::string& bytes);
// The same, with the given segments written after the JFIF header, in order.
Status EncodeJpeg(const Bitmap& picture, int quality, const std::vector<JpegSegment>& segments, std::string& bytes);
// Encodes and replaces the file at path atomically: a failure never leaves a
// half-written file.
Status WriteJpegFile(const std::string& path, const Bitmap& picture, int quality);

// The orientation value (1..8) from an APP1 "Exif" segment's payload; 1 when
// absent or unreadable. Every offset is checked against the segment.
int ParseExifOrientation(const uint8_t* data, size_t size);
// Writes `value` (1..8) over the orientation of an APP1 "Exif" payload, in
// place and in the payload's byte order. False, with nothing changed, when
// the payload holds no readable orientation tag.
bool SetExifOrientation(uint8_t* data, size_t size, int value);

}  // namespace pictavo
