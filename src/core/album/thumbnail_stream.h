#pragma once
// Thumbnail making without a full-size picture in memory: the JPEG is decoded
// row by row and each row is sampled (normal path) or added into one row of
// area accumulators (filter path) as it arrives. EXIF orientation is applied
// by mapping the sampling onto the stored picture, never by turning a copy.
// The results are byte-identical to decoding in full, turning the picture
// upright and calling StretchSample or FilterThumbnail.

#include <cstdint>
#include <string>

#include "image/bitmap.h"
#include "platform/error.h"

namespace pictavo {

struct ThumbnailJob {
  int tw = 110;               // the thumbnail box
  int th = 150;
  bool filter = false;        // thumbnailFilter is not "off"
  bool keepExisting = false;  // the thumbnail file exists and is to be kept
};

enum class ThumbnailPath {
  Kept,    // nothing made: only the size was needed
  Normal,  // plain sampling
  Filter,  // area reduction, then sharpening where the ratio calls for it
};

struct StreamedThumbnail {
  int width = 0;   // the picture's size as it reads upright
  int height = 0;
  ThumbnailPath path = ThumbnailPath::Kept;
  Bitmap thumbnail;  // empty when kept
};

// Told, before the decoder allocates anything for the picture, how much
// memory it will take; may wait until that much is free, or answer false to
// put the picture off (MakeThumbnailStreaming then fails with an empty reason).
class DecodeGate {
 public:
  virtual ~DecodeGate() = default;
  virtual bool enter(int64_t bytes) = 0;
};

// Decodes the picture at path and makes its thumbnail. A kept thumbnail still
// costs a pass over the entropy-coded data (no pixels are made), so that
// damaged data fails as it does when the thumbnail is made. A failure, as
// StreamJpegFile reports it, when the picture cannot be read.
Status MakeThumbnailStreaming(const std::string& path, const ThumbnailJob& job, StreamedThumbnail& out,
                              DecodeGate* gate = nullptr);

// The straightforward way, kept as the reference the streaming maker is
// checked against: decode in full, turn upright, stretch or filter.
Status MakeThumbnailFull(const std::string& path, const ThumbnailJob& job, StreamedThumbnail& out);

}  // namespace pictavo
