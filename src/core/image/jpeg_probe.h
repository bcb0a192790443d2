#pragma once
// A cheap look at a JPEG file for callers that meet thousands of them and
// need only to know that each is whole and how large it is: the markers of
// the header are walked up to the picture data (size and EXIF orientation
// taken on the way) and the last two bytes must be the end-of-image marker.
// Nothing is decoded, and only the header's bytes and the tail are read
// (never more than kProbeReadLimit), so a 20-megapixel photograph costs as
// little as a thumbnail. ReadJpegInfo, which runs libjpeg's header reader,
// stays the reference wherever a picture is then decoded.

#include <cstddef>
#include <cstdint>
#include <string>

namespace pictavo {

inline constexpr size_t kProbeReadLimit = 1024 * 1024;

struct JpegProbe {
  bool ok = false;
  std::string error;    // why not, without the path
  int width = 0;        // as stored
  int height = 0;
  int orientation = 1;  // EXIF orientation, 1 when absent
};

// The file at path (a regular file; a pipe is not waited on).
JpegProbe ProbeJpegFile(const std::string& path);

// The header walk over the first `length` bytes of a file (all of it when
// `whole`): Done with the outcome in probe, or NeedMore bytes. The end
// marker is ProbeJpegFile's to check.
enum class ProbeStep { Done, NeedMore };
ProbeStep ProbeJpegHead(const uint8_t* head, size_t length, bool whole, JpegProbe& probe);

}  // namespace pictavo
