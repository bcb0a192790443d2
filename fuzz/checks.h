#pragma once
// What each fuzz target checks on one input, shared with the test suite,
// which runs the same checks over the seeds and the kept findings. Each
// returns an empty text when the input was handled soundly, else what went
// wrong; a crash or a sanitizer report is a failure of its own.

#include <algorithm>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "album/thumbnail_stream.h"
#include "check/page_reader.h"
#include "check/site_check.h"
#include "comments/comment_file.h"
#include "fuzz_util.h"
#include "image/dib.h"
#include "image/exif.h"
#include "image/jpeg.h"
#include "image/jpeg_probe.h"
#include "platform/hand_over.h"
#include "publish/location.h"
#include "publish/manifest.h"
#include "publish/published_picture.h"
#include "settings/settings_file.h"
#include "text/encoding.h"
#include "toc/discovery.h"

namespace pictavo::fuzz {

// Declared sizes beyond a few megapixels only cost time in a fuzzer: the
// decoders' own limits are tested on their own.
inline constexpr int64_t kFuzzPixels = 4'000'000;

// The streaming thumbnail path (with the progressive rewrite) against the
// straightforward full decode. The first byte picks the box, the filter and
// whether the thumbnail is kept; the rest is the picture file. Whenever
// libjpeg decodes the file without error both thumbnails must be identical,
// and whenever one way fails the other must fail too.
inline std::string CheckThumbnail(const uint8_t* data, size_t size) {
  if (size < 1) return {};
  const uint8_t mode = data[0];
  const std::string path = WriteInput(data + 1, size - 1, "picture.jpg");
  JpegInfo info;
  if (ReadJpegInfo(path, info).ok() && static_cast<int64_t>(info.width) * info.height > kFuzzPixels) return {};

  static const int kBoxes[4][2] = {{110, 150}, {16, 16}, {7, 3}, {300, 200}};
  ThumbnailJob job;
  job.tw = kBoxes[mode & 3][0];
  job.th = kBoxes[mode & 3][1];
  job.filter = (mode & 4) != 0;
  job.keepExisting = (mode & 8) != 0;

  StreamedThumbnail streamed, full;
  const Status streamedStatus = MakeThumbnailStreaming(path, job, streamed);
  const Status fullStatus = MakeThumbnailFull(path, job, full);
  if (streamedStatus.ok() != fullStatus.ok()) {
    return "one way failed, the other did not: " + streamedStatus.reason() + " | " + fullStatus.reason();
  }
  if (!fullStatus.ok()) return {};
  if (streamed.width != full.width || streamed.height != full.height || streamed.path != full.path) {
    return "sizes or paths differ";
  }
  const Bitmap& a = streamed.thumbnail;
  const Bitmap& b = full.thumbnail;
  if (a.width != b.width || a.height != b.height || a.bitsPerPixel != b.bitsPerPixel || a.stride != b.stride ||
      a.data != b.data || a.palette != b.palette) {
    return "thumbnails differ";
  }
  return {};
}

// The JPEG header reader and its EXIF orientation reader, on a file and on
// raw segment bytes, then the full decode of what the header admits.
inline std::string CheckJpegHeader(const uint8_t* data, size_t size) {
  const int orientation = ParseExifOrientation(data, size);
  if (orientation < 1 || orientation > 8) return "orientation out of range";
  const std::string path = WriteInput(data, size, "header.jpg");
  JpegInfo info;
  if (!ReadJpegInfo(path, info).ok()) return {};
  if (info.width <= 0 || info.height <= 0 || info.width > kMaxPictureSide || info.height > kMaxPictureSide) {
    return "size beyond the limits accepted";
  }
  if (info.orientation < 1 || info.orientation > 8) return "orientation out of range";
  JpegProbe probe;
  if (ProbeJpegHead(data, size, true, probe) == ProbeStep::Done && probe.ok &&
      (probe.width <= 0 || probe.height <= 0 || probe.orientation < 1 || probe.orientation > 8)) {
    return "probe accepted a header without a size";
  }
  if (static_cast<int64_t>(info.width) * info.height > kFuzzPixels) return {};
  Bitmap picture;
  if (DecodeJpegMemory(data, size, picture, info).ok()) {
    if (picture.width != info.width || picture.height != info.height) return "decoded size differs from the header";
    if (picture.data.size() != picture.stride * static_cast<size_t>(picture.height)) return "short pixel store";
  }
  // The preview's reduced decode takes other IDCT and upsampling paths.
  Bitmap reduced;
  if (DecodeJpegFileToCover(path, 150, reduced, info).ok()) {
    if (reduced.width <= 0 || reduced.height <= 0 || reduced.width > info.width || reduced.height > info.height) {
      return "reduced size outside the picture";
    }
    if (reduced.data.size() != reduced.stride * static_cast<size_t>(reduced.height)) return "short reduced pixel store";
  }
  // Publish's reduction streams the rows at that scale, progressive files
  // through the rewrite, and turns the result.
  PublishedSize published;
  if (PlanPublishedPicture(path, 40, 0, 0, published).ok() && published.reduce) {
    Bitmap small;
    if (ReducePublishedPicture(path, published, small).ok() &&
        (small.width != published.width || small.height != published.height ||
         small.data.size() != small.stride * static_cast<size_t>(small.height))) {
      return "published reduction of another size";
    }
  }
  return {};
}

// The EXIF orientation writer on raw APP1 payloads: the first byte picks the
// value written (0 to 9, so out-of-range values are tried too), the rest is
// the payload. A write that succeeds changes at most the tag's two bytes and
// reads back; one that fails changes nothing.
inline std::string CheckExifOrientation(const uint8_t* data, size_t size) {
  if (size < 1) return {};
  const int value = data[0] % 10;
  std::string payload(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string before = payload;
  auto* bytes = reinterpret_cast<uint8_t*>(payload.data());
  const bool written = SetExifOrientation(bytes, payload.size(), value);
  size_t changed = 0;
  for (size_t i = 0; i < payload.size(); ++i) changed += payload[i] != before[i];
  if (!written) return changed == 0 ? "" : "a failed write changed the payload";
  if (changed > 2) return "a write changed more than the tag's value";
  if (ParseExifOrientation(bytes, payload.size()) != value) return "the written orientation does not read back";
  return {};
}

// Taking the location out of metadata, and the publish manifest. The first
// byte picks the reader: an EXIF payload, an XMP packet (each behind its
// header), a file head, or a manifest. A strip keeps the payload's length,
// leaves nothing a second look would find, and a rewritten head reads as
// clean; a manifest names only plain paths and reads back as it was written.
inline std::string CheckLocation(const uint8_t* data, size_t size) {
  if (size < 1) return {};
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 4) {
    case 0: {
      std::string payload = std::string("Exif\0\0", 6) + std::string(rest);
      const size_t n = payload.size();
      (void)StripExifLocation(payload);
      if (payload.size() != n) return "the EXIF payload changed its length";
      if (HasExifLocation(payload)) return "a GPS pointer is left";
      if (StripExifLocation(payload)) return "a second strip found more";
      return {};
    }
    case 1: {
      std::string payload = std::string("http://ns.adobe.com/xap/1.0/\0", 29) + std::string(rest);
      const size_t n = payload.size();
      (void)StripXmpLocation(payload);
      if (payload.size() != n) return "the XMP packet changed its length";
      if (HasXmpLocation(payload)) return "a location property is left";
      return {};
    }
    case 2: {
      std::string head;
      size_t replaced = 0;
      HeadResult r = HeadResult::Unchanged;
      if (!StripJpegHeadLocation(rest, true, head, replaced, r).ok() || r != HeadResult::Rewritten) return {};
      if (replaced > rest.size() || head.size() > replaced) return "the rewritten head is longer than the old one";
      const std::string again = head + std::string(rest.substr(replaced));
      std::string head2;
      size_t replaced2 = 0;
      HeadResult r2 = HeadResult::Rewritten;
      if (!StripJpegHeadLocation(again, true, head2, replaced2, r2).ok() || r2 != HeadResult::Unchanged) {
        return "a rewritten head still carries a location";
      }
      return {};
    }
    default: {
      const Manifest m = ParseManifest(rest);
      for (const auto& [path, entry] : m) {
        if (!IsPlainRelativePath(path)) return "a manifest path that is not plain";
      }
      if (ParseManifest(FormatManifest(m)).size() != m.size()) return "the manifest does not read back";
      return {};
    }
  }
}

// The EXIF rewriter for a saved picture on the same payloads (the first byte
// also picks the picture's size and the new thumbnail's length): a rewrite
// stays within a segment, reads back with the new pixel size, and carries
// either the new thumbnail or none. Then both writers together, as a save
// uses them.
inline std::string CheckExifRewrite(const uint8_t* data, size_t size) {
  if (size < 1) return {};
  const std::string_view payload(reinterpret_cast<const char*>(data + 1), size - 1);
  const int width = 1 + data[0], height = 65500 - data[0];
  const std::string thumbnail(static_cast<size_t>(data[0]) * 97, 't');
  const ExifFacts before = ReadExifFacts(payload);
  if (!before.thumbnail.empty() && before.thumbnail.size() > payload.size()) return "a thumbnail larger than its payload";
  const auto after = RewriteExifForPicture(payload, width, height, thumbnail);
  if (!after) return {};
  if (!before.readable) return "an unreadable payload was rewritten";
  if (after->size() > std::max(payload.size(), kMaxApp1Payload)) return "the rewrite outgrew its segment";
  const ExifFacts facts = ReadExifFacts(*after);
  if (!facts.readable) return "the rewrite does not read back";
  if (before.pixelX && facts.pixelX != static_cast<uint32_t>(width)) return "PixelXDimension does not read back";
  if (before.pixelY && facts.pixelY != static_cast<uint32_t>(height)) return "PixelYDimension does not read back";
  if (facts.hasThumbnailIfd && before.hasThumbnailIfd && facts.thumbnail != thumbnail) {
    return "a thumbnail other than the new one is linked";
  }
  std::string both = *after;
  SetExifOrientation(reinterpret_cast<uint8_t*>(both.data()), both.size(), 1);
  return {};
}

class QuietWindow : public SettingsWindow {
 public:
  void showMessage(const Message&) override {}
  bool askYesNo(const Message&, const Message&) override { return false; }
  std::optional<std::string> chooseOpenFile(const Message&, const std::string&) override { return {}; }
  std::optional<std::string> chooseSaveFile(const Message&, const std::string&) override { return {}; }
};

// The settings file readers: the start-up reading and the load command (as
// Button9 loads a file found in a picture folder). Programs never come from
// such a file, and what was loaded saves again as a 97-line file.
inline std::string CheckSettings(const uint8_t* data, size_t size) {
  const std::string path = WriteInput(data, size, "settings.ini");
  QuietWindow window;
  AlbumSettings settings;
  ResetSettings(settings);
  SettingsLines lines;
  ReadSettingsAtStart(path, settings, window);

  AlbumSettings loaded;
  ResetSettings(loaded);
  loaded.browserPath = "browser";
  MainValues main;
  main.programFolder = ScratchFolder() + "/home";
  main.currentFolder = ScratchFolder();
  main.folderSettingsPath = path;
  main.loadWithoutAsking = true;
  SettingsLoadCommand(loaded, main, window);
  if (loaded.browserPath != "browser" || !loaded.externalViewerPath.empty()) return "a program came from the file";
  if (FillSettingsLines(loaded, main.programVersion, lines) != 96) return "FillSettingsLines";
  return {};
}

// The comment file reader on any bytes, then matching against a few names.
inline std::string CheckComments(const uint8_t* data, size_t size) {
  const CommentFile file = ParseCommentFile(std::string(reinterpret_cast<const char*>(data), size));
  if (file.records.size() > kMaxCommentRecords) return "too many records kept";
  if (MatchComments(file.records, {"a.jpg", "B.JPG", "写真.jpg", ""}).size() != 4) return "one slot per name";
  return {};
}

// The table of contents' reader of album pages: the first seven lines of a
// page found in a sub-folder, cut into fields by position.
inline std::string CheckAlbumPage(const uint8_t* data, size_t size) {
  const std::string path = WriteInput(data, size, "index.htm");
  AlbumHead head;
  if (ReadAlbumHead(path, head).ok() && head.recognised != IsAlbumPage(head.markerLine)) return "marker";
  if (!IsValidUtf8(head.fields.title) || !IsValidUtf8(head.fields.thumbnailName)) return "fields not UTF-8";
  return {};
}

// The site check's reader of pages, then the whole check over a folder that
// holds the page: every line it names lies in the page, every text is
// UTF-8, no address segment can climb out through an encoded slash, and
// every finding names a file inside the folder.
// A hand-over message from another process: whatever is taken is UTF-8,
// and writing it again gives a message that reads back the same.
inline std::string CheckHandOver(const uint8_t* data, size_t size) {
  const auto read = ReadHandOver(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!read) return {};
  for (const auto& a : *read) {
    if (!IsValidUtf8(a)) return "not UTF-8";
  }
  const std::string again = WriteHandOver(*read);
  if (ReadHandOver(again) != read) return "round trip";
  return {};
}

inline std::string PageDigest(const ParsedPage& p) {
  std::string out = std::to_string(static_cast<int>(p.kind)) + " " + std::to_string(p.lineCount) + "\n";
  for (const auto& a : p.addresses) out += "A" + std::to_string(a.line) + a.tag + a.attribute + a.value + "\n";
  for (const auto& c : p.cells) out += "C" + std::to_string(c.line) + c.href + c.src + "\n";
  for (const auto& e : p.slides) out += "S" + std::to_string(e.line) + e.name + "\n";
  for (const auto& e : p.tocEntries) out += "E" + std::to_string(e.line) + e.href + e.title + "\n";
  for (const auto& t : p.troubles) out += "T" + std::to_string(t.line) + t.text + "\n";
  return out;
}

inline std::string CheckSitePage(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ParsedPage page = ParsePage(bytes);
  // Read in pieces, the page reads as it does whole.
  MemoryPageSource trickle(bytes, 1 + size % 7);
  if (PageDigest(ParsePage(trickle)) != PageDigest(page)) return "pieces";
  auto inPage = [&](long line, long first) { return line >= first && line <= page.lineCount; };
  for (const auto& a : page.addresses) {
    if (!inPage(a.line, 1) || !IsValidUtf8(a.value)) return "address";
    const Address parsed = ParseAddress(a.value);
    for (const auto& segment : parsed.segments) {
      if (segment.find('/') != std::string::npos || segment.find('\0') != std::string::npos) return "segment";
    }
  }
  for (const auto& c : page.cells) {
    if (!inPage(c.line, 1) || !IsValidUtf8(c.href) || !IsValidUtf8(c.src)) return "cell";
  }
  for (const auto& s : page.slides) {
    if (!inPage(s.line, 1) || !IsValidUtf8(s.name)) return "slide";
  }
  for (const auto& e : page.tocEntries) {
    if (!inPage(e.line, 1) || !IsValidUtf8(e.title) || (e.count && !inPage(e.dateLine, 1))) return "entry";
  }
  for (const auto& t : page.troubles) {
    if (!inPage(t.line, 0)) return "trouble line";
  }
  WriteInput(data, size, "index.htm");
  const SiteCheckResult result = CheckSite(ScratchFolder(), CheckOptions{});
  if (!result.ok) return "the folder could not be checked";
  for (const auto& f : result.findings) {
    if (f.page.empty() || f.page[0] == '/' || f.page.find("..") != std::string::npos) return "finding outside";
    if (f.line < 0 || f.line > page.lineCount) return "finding line";
  }
  return {};
}

// CP932 decoding, with and without turning references back: the text is
// always valid UTF-8, and text read with references turned back survives
// being written and read again unchanged (the settings and comment files
// rely on it).
inline std::string CheckCp932(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!IsValidUtf8(Cp932ToUtf8(bytes, false))) return "invalid UTF-8";
  const std::string text = Cp932ToUtf8(bytes, true);
  if (!IsValidUtf8(text)) return "invalid UTF-8 with references";
  if (Cp932ToUtf8(Utf8ToCp932(text), true) != text) return "no round trip";
  (void)Utf8ToCp932(bytes);  // any bytes as UTF-8 text
  return {};
}

// The BMP reader, then decoding what it accepted the way the conversion does
// (into a bitmap, then to 24 bits). Any exception of the reader is a clean
// refusal.
inline std::string CheckBmp(const uint8_t* data, size_t size) {
  TPxDIB dib;
  try {
    dib.LoadFromStream(std::string_view(reinterpret_cast<const char*>(data), size));
    // An RLE stream may declare a large picture in a few bytes; decoding it
    // is only zero-filling, so keep the fuzzer's time for other inputs.
    if (static_cast<int64_t>(dib.Width()) * dib.Height() > kFuzzPixels) return {};
    Bitmap bitmap;
    dib.AssignTo(bitmap);
    const Bitmap rgb = ToRgb24(bitmap);
    if (dib.header().biCompression == 0) {
      (void)dib.Pixels(dib.Width() - 1, dib.Height() - 1);
      (void)dib.ScanLine(0);
    }
    if (rgb.width != dib.Width()) return "width";
  } catch (const std::exception&) {
  }
  return {};
}

}  // namespace pictavo::fuzz
