#pragma once
// The BMP-to-JPEG conversion: each selected BMP file of a folder is read into
// a DIB image, previewed, and written as a JPEG of the same base name beside
// it. The BMP files themselves are never changed.

#include <string>
#include <vector>

#include "image/bitmap.h"
#include "platform/command_host.h"
#include "vocabulary/preview.h"

namespace pictavo {

// The whole picture inside a 116 x 116 square whose corner is at (5, 5),
// keeping the aspect ratio.
PreviewBox BmpPreviewBox(int width, int height);

// The last three characters of the name (the "bmp" extension in any case)
// replaced by "jpg".
std::string JpegNameFor(const std::string& bmpName);

// The name under which the JPEG `name` is written in folder: the name of an
// existing file that differs from it only in letter case, else name itself.
std::string ExistingNameFor(const std::string& folder, const std::string& name);

// What the window shows while a file is converted; the command line ignores it.
class ConversionView {
 public:
  virtual ~ConversionView() = default;
  virtual void showFileName(const std::string& name) { (void)name; }
  virtual void showPreview(const Bitmap& picture, const PreviewBox& box) { (void)picture, (void)box; }
};

inline constexpr int kConversionMinQuality = 70;
inline constexpr int kConversionMaxQuality = 100;
inline constexpr int kConversionDefaultQuality = 95;

enum class ConversionOutcome { Done, NothingSelected, Failed };

// Converts the selected files (names in list order) of folder; names without
// the extension ".bmp" (in any case) are passed over. A quality outside
// 70..100 is brought into that range. A file that cannot be read as a
// BMP picture or a JPEG that cannot be written ends the command with a message,
// as does a JPEG name that is a link FolderWritePath refuses (one leading out
// of the folder or to a BMP file).
ConversionOutcome ConvertBmpFiles(const std::string& folder, const std::vector<std::string>& names, int quality,
                                  CommandHost& host, ConversionView* view = nullptr);

}  // namespace pictavo
