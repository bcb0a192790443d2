#include "tools/bmp_to_jpeg.h"

#include <algorithm>

#include "image/dib.h"
#include "image/jpeg.h"
#include "platform/folder_write.h"
#include "platform/paths.h"
#include "platform/sink.h"
#include "text/chars.h"

namespace pictavo {

PreviewBox BmpPreviewBox(int width, int height) {
  constexpr long double kSide = 116;
  const long double w = width, h = height;
  PreviewBox box;
  if (h < w) {
    const long double scaled = h * kSide / w;
    box.width = 116;
    box.height = static_cast<int>(RoundHalfEven(scaled));
    box.left = 5;
    box.top = static_cast<int>(RoundHalfEven((kSide - scaled) / 2)) + 5;
  } else {
    const long double scaled = w * kSide / h;
    box.height = 116;
    box.width = static_cast<int>(RoundHalfEven(scaled));
    box.top = 5;
    box.left = static_cast<int>(RoundHalfEven((kSide - scaled) / 2)) + 5;
  }
  return box;
}

std::string JpegNameFor(const std::string& bmpName) {
  return LeftChars(bmpName, CharLength(bmpName) - 3) + "jpg";
}

std::string ExistingNameFor(const std::string& folder, const std::string& name) {
  if (PathExists(FolderBase(folder) + name)) return name;
  // Another file whose name differs only in letter case is the same picture
  // to the user (and to the design's file system): it is that file.
  const std::string lower = LowerAscii(name);
  for (const auto& existing : ListFiles(folder).names) {
    if (LowerAscii(existing) == lower) return existing;
  }
  return name;
}

ConversionOutcome ConvertBmpFiles(const std::string& folder, const std::vector<std::string>& names, int quality,
                                  CommandHost& host, ConversionView* view) {
  if (names.empty()) {
    host.showMessage(MessageId::NoSelection);
    return ConversionOutcome::NothingSelected;
  }
  quality = std::clamp(quality, kConversionMinQuality, kConversionMaxQuality);
  const std::string base = FolderBase(folder);
  host.setStatus(StatusPanel::Step, MessageId::ConvertingBmp);
  // Every BMP of the folder is a source no JPEG may be written over, whether
  // converted now or later.
  std::vector<std::string> sources;
  for (const auto& existing : ListFiles(folder).names) {
    if (LowerAscii(Extension(existing)) == ".bmp") sources.push_back(base + existing);
  }
  TPxDIB dib;
  for (const auto& name : names) {
    // Only BMP files are converted: any other name would make the output
    // name the source's own, and the source is never to be changed.
    if (LowerAscii(Extension(name)) != ".bmp") continue;
    if (view) view->showFileName(name);
    Bitmap picture;
    try {
      dib.LoadFromFile(base + name);
      dib.AssignTo(picture);
    } catch (const std::exception& e) {
      // The image's own error text; files converted so far stay.
      host.showMessage(Detail(e.what()));
      host.note(Detail(base + name));
      return ConversionOutcome::Failed;
    }
    if (view) view->showPreview(picture, BmpPreviewBox(picture.width, picture.height));

    const std::string outputName = ExistingNameFor(folder, JpegNameFor(name));
    const FolderWrite target = FolderWritePath(folder, outputName, sources);
    if (!target) {
      host.showMessage(target.error->message);
      host.note(Detail(target.error->detail));
      host.setStatus(StatusPanel::Step, Detail(""));
      return ConversionOutcome::Failed;
    }
    const std::string& output = target.path;
    if (PathExists(output) &&
        !host.askYesNo(Message(MessageId::OverwriteQuestion, {outputName}), MessageId::Caption)) {
      continue;
    }
    if (const Status written = WriteJpegFile(output, picture, quality); !written.ok()) {
      host.showMessage(MessageId::WriteError);
      host.note(Detail(written.reason()));
      host.setStatus(StatusPanel::Step, Detail(""));
      return ConversionOutcome::Failed;
    }
  }
  host.setStatus(StatusPanel::Step, MessageId::ConversionDone);
  return ConversionOutcome::Done;
}

}  // namespace pictavo
