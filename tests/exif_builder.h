#pragma once
// Builds APP1 "Exif" payloads for tests: IFD0 (orientation, Exif IFD pointer),
// the Exif IFD (pixel size, a maker note), IFD1 with a thumbnail.

#include <cstddef>
#include <string>

namespace pictavo {

struct ExifSpec {
  bool little = true;
  int orientation = 6;
  unsigned pixelX = 64, pixelY = 48;
  std::string makerNote = "maker note with offsets";
  std::string thumbnail;           // empty: no IFD1
  int compression = 6;             // of IFD1
  std::string dataAfterThumbnail;  // bytes after the thumbnail, at the end
  // Filled by BuildExif: payload positions of the orientation value and the maker note.
  size_t orientationAt = 0;
  size_t makerNoteAt = 0;
};

std::string BuildExif(ExifSpec& spec);

}  // namespace pictavo
