#pragma once
// Removing where a photograph was taken from its metadata, for pictures that
// leave the photographer's machine. The bytes come from any camera, phone or
// editor, so nothing here trusts them: every offset is checked against the
// segment, and what cannot be read is left as it is rather than guessed at.
//
// The location is the EXIF GPS directory and, in an XMP packet, every
// property whose name begins with "GPS" (in any letter case and namespace)
// and the named places (City, State, Country, Location, ...). Everything
// else (camera, exposure, dates, copyright, the ICC profile) stays.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "image/jpeg.h"
#include "platform/error.h"

namespace pictavo {

// An APP1 payload "Exif\0\0" + TIFF: whether IFD0 or IFD1 points to a GPS directory.
bool HasExifLocation(std::string_view payload);
// Takes the GPS pointer out of its directory and zeroes the GPS directory
// with its values, in place (the payload keeps its length and every other
// offset). True when anything changed.
bool StripExifLocation(std::string& payload);

// An APP1 payload "http://ns.adobe.com/xap/1.0/\0" + XML packet.
bool HasXmpLocation(std::string_view payload);
// Blanks the location properties (attributes or elements) with spaces, so
// the packet keeps its length and stays well-formed. True when anything changed.
bool StripXmpLocation(std::string& payload);

enum class SegmentKind { Exif, Xmp, ExtendedXmp, Other };
SegmentKind KindOfSegment(int marker, std::string_view payload);

// Removes the location from a picture's segments (as ReadJpegMetadata gives
// them): EXIF and XMP are stripped, extended XMP (which may carry the same
// properties split across segments) is dropped. True when anything changed.
bool StripSegmentsLocation(std::vector<JpegSegment>& segments);

// The head of a JPEG file (every marker segment before the first scan)
// rewritten without the location. `bytes` is the file's beginning, `whole`
// whether it is the whole file. Damaged, with the reason, when the bytes
// have no start-of-image, a broken segment or no scan; else `result` says
// what became of the head.
enum class HeadResult {
  Unchanged,  // no location: the file can be copied as it is
  Rewritten,  // `head` replaces the first `replaced` bytes
  NeedMore,   // the first scan lies beyond `bytes`
};
Status StripJpegHeadLocation(std::string_view bytes, bool whole, std::string& head, size_t& replaced,
                             HeadResult& result);

}  // namespace pictavo
