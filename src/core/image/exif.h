#pragma once
// What an APP1 "Exif" payload says about the picture it travels with: the
// pixel size the camera recorded (PixelXDimension, PixelYDimension) and the
// embedded JPEG thumbnail, read and rewritten for a picture saved anew.
// Payloads come from any file: every offset and count is checked against the
// payload before it is used, and nothing outside it is read or written.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pictavo {

// The largest payload an APP1 segment holds (its length field counts itself).
inline constexpr size_t kMaxApp1Payload = 65533;

struct ExifFacts {
  bool readable = false;             // a TIFF structure was found
  std::optional<uint32_t> pixelX;    // PixelXDimension of the Exif IFD
  std::optional<uint32_t> pixelY;    // PixelYDimension
  bool hasThumbnailIfd = false;      // IFD1 is linked from IFD0
  std::string thumbnail;             // the JPEG thumbnail's bytes; empty when none is readable
};

ExifFacts ReadExifFacts(std::string_view payload);

// The payload for a picture saved upright at width x height: the orientation
// (where present) becomes 1, PixelXDimension and PixelYDimension (where
// present) the new size, and the thumbnail of IFD1 becomes `thumbnail` (JPEG
// bytes). A thumbnail IFD that cannot take it (not a JPEG thumbnail, or the
// segment would grow past kMaxApp1Payload, or `thumbnail` is empty) is
// unlinked, so no viewer shows the old one. Everything else stays byte for
// byte where it was (maker notes keep their offsets). Returns nullopt, for
// the caller to keep the payload, when it holds no readable TIFF structure.
std::optional<std::string> RewriteExifForPicture(std::string_view payload, int width, int height,
                                                 std::string_view thumbnail);

}  // namespace pictavo
