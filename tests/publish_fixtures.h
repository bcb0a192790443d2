#pragma once
// Pictures with a location in their metadata, built byte by byte: an EXIF
// payload with a GPS directory, an XMP packet with location properties, an
// extended XMP segment and an ICC profile segment.

#include <cstdint>
#include <string>
#include <vector>

#include "image/bitmap.h"
#include "image/jpeg.h"
#include "publish/location.h"
#include "test_util.h"

namespace pictavo {

inline const std::string kXmpHeader("http://ns.adobe.com/xap/1.0/\0", 29);

// The GPS latitude's three rationals (35/1, 41/1, 1234/100) as stored.
inline std::string kTestLatitudeBytes(bool little) {
  std::string out;
  for (const uint32_t v : {35u, 1u, 41u, 1u, 1234u, 100u}) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (little ? 8 * i : 8 * (3 - i)));
  }
  return out;
}

// "Exif\0\0" + TIFF: IFD0 with Make "TestCam", the orientation and, when
// `gps`, a GPS directory with version, latitude reference and latitude.
inline std::string TestExif(int orientation, bool gps, bool little) {
  std::string t;
  auto put16 = [&](uint32_t v) {
    for (int i = 0; i < 2; ++i) t += static_cast<char>(v >> (little ? 8 * i : 8 * (1 - i)));
  };
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) t += static_cast<char>(v >> (little ? 8 * i : 8 * (3 - i)));
  };
  auto entry = [&](uint32_t tag, uint32_t type, uint32_t count, uint32_t value) {
    put16(tag), put16(type), put32(count), put32(value);
  };
  t += little ? "II" : "MM";
  put16(42);
  put32(8);
  const uint32_t entries = gps ? 3 : 2;
  const uint32_t make = 8 + 2 + 12 * entries + 4;
  const uint32_t gpsIfd = make + 8;
  put16(entries);
  entry(0x010F, 2, 8, make);
  const uint32_t shortValue = little ? static_cast<uint32_t>(orientation) : static_cast<uint32_t>(orientation) << 16;
  entry(0x0112, 3, 1, shortValue);
  if (gps) entry(0x8825, 4, 1, gpsIfd);
  put32(0);
  t += std::string("TestCam\0", 8);
  if (gps) {
    put16(3);
    entry(0x0000, 1, 4, little ? 0x00000302u : 0x02030000u);
    entry(0x0001, 2, 2, little ? 'N' : static_cast<uint32_t>('N') << 24);
    entry(0x0002, 5, 3, gpsIfd + 2 + 36 + 4);
    put32(0);
    t += kTestLatitudeBytes(little);
  }
  return std::string("Exif\0\0", 6) + t;
}

inline std::string TestXmp(bool location) {
  std::string x = kXmpHeader +
                  "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                  "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                  "<rdf:Description rdf:about=\"\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" "
                  "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
                  "xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\" "
                  "xmlns:Iptc4xmpExt=\"http://iptc.org/std/Iptc4xmpExt/2008-02-29/\"";
  if (location) x += " exif:GPSLatitude=\"35,41.0N\" exif:GPSLongitude='139,42.0E'";
  x += " xmp:CreateDate=\"2026-05-01T10:00:00\"";
  if (location) x += "\n photoshop:City=\"Tokyo\"";
  x += ">\n";
  if (location) x += "<exif:GPSAltitude>40/1</exif:GPSAltitude>\n";
  x += "<dc:creator><rdf:Seq><rdf:li>Taro Yamada</rdf:li></rdf:Seq></dc:creator>\n";
  if (location) {
    x += "<Iptc4xmpExt:LocationCreated><rdf:Bag><rdf:li rdf:parseType=\"Resource\">"
         "<Iptc4xmpExt:Sublocation>Shibuya</Iptc4xmpExt:Sublocation><!-- a note -->"
         "</rdf:li></rdf:Bag></Iptc4xmpExt:LocationCreated>\n";
  }
  x += "</rdf:Description></rdf:RDF></x:xmpmeta>";
  return x;
}

inline std::string TestExtendedXmp() {
  return std::string("http://ns.adobe.com/xmp/extension/\0", 35) + std::string(32, 'A') +
         std::string("\0\0\0\x40\0\0\0\0", 8) + "<x:xmpmeta><exif:GPSDestLatitude>1</exif:GPSDestLatitude></x:xmpmeta>";
}
// The extended segment in the file: marker, length and payload.
inline size_t TestExtendedXmpSegmentSize() { return 4 + TestExtendedXmp().size(); }

inline std::vector<JpegSegment> TestSegments(int orientation, bool location) {
  std::vector<JpegSegment> s = {{0xE1, TestExif(orientation, location, true)}, {0xE1, TestXmp(location)}};
  if (location) s.push_back({0xE1, TestExtendedXmp()});
  s.push_back({0xE2, std::string("ICC_PROFILE\0\x01\x01", 14) + std::string(200, '\x11')});
  s.push_back({0xFE, "a comment"});
  return s;
}

// A JPEG of the picture with the test segments.
inline void WriteJpegWithMetadata(const std::string& path, const Bitmap& picture, int orientation, bool location,
                                  int quality = 90) {
  std::string bytes;
  if (!EncodeJpeg(picture, quality, TestSegments(orientation, location), bytes).ok()) return;
  WriteAll(path, bytes);
}

// Whether any trace of the test location is in a file's bytes: the GPS
// pointer, the latitude's values, or a location property's name or value.
inline bool CarriesLocation(const std::string& file) {
  for (const std::string& s : {kTestLatitudeBytes(true), kTestLatitudeBytes(false), std::string("GPS"),
                               std::string("Tokyo"), std::string("Shibuya")}) {
    if (file.find(s) != std::string::npos) return true;
  }
  const size_t exif = file.find(std::string("Exif\0\0", 6));
  return exif != std::string::npos && HasExifLocation(std::string_view(file).substr(exif, 65533));
}

}  // namespace pictavo
