#pragma once
// The name of a picture's thumbnail in the thumbnail folder: the run writes
// it under this name and the page and its head refer to it by the same, so
// the two can never disagree.

#include <string>

#include "settings/album_settings.h"

namespace pictavo {

// The prefix from the settings, then the picture's file name (no folder).
inline std::string ThumbnailFileName(const AlbumSettings& s, const std::string& picture) {
  return s.thumbnailPrefix + picture;
}

}  // namespace pictavo
