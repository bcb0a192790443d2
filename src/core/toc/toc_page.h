#pragma once
// The table-of-contents command: a page that links the albums found in the
// sub-folders of a folder, as a table, a table with thumbnails, or a frameset
// with a list page ("title.htm") on the left.

#include <cstdint>
#include <string>
#include <vector>

#include "album/album_page.h"
#include "platform/command_host.h"
#include "settings/album_settings.h"
#include "toc/discovery.h"

namespace pictavo {

// The range of the frame list's title size (a FONT size), the window's and
// the command line's.
inline constexpr int kMinFrameTitleSize = 1;
inline constexpr int kMaxFrameTitleSize = 7;

// The window's options; none of them is stored in the settings file.
struct TocOptions {
  std::string tocFolder;
  std::string tocTitle;
  bool useFrames = false;
  int frameTitleSize = 3;        // kMinFrameTitleSize..kMaxFrameTitleSize
  bool showPictures = false;
  int32_t tocBackgroundColor = 0x808080;  // grey
  bool useBackgroundPicture = false;
  std::string backgroundPicturePath;
};

class TocHost : public CommandHost {
 public:
  // The progress label at the foot of the window: "003/012" before each album.
  virtual void showTocProgress(const std::string& text) { setStatus(StatusPanel::Counter, Detail(text)); }
};

// The values computed once per command for the line templates.
struct TocTexts {
  std::string version;       // programVersion
  std::string title;         // tocTitle
  CivilDate date;
  std::string count3;        // album count, last three digits
  std::string bodyTag;
  std::string titleColor;    // ColorToHtml(titleFontColor)
  std::string titleBack;     // ColorToHtml(titleBackgroundColor)
  std::string boldOpen, boldClose, italicOpen, italicClose;
  std::string widthAttr;     // "width=\"N\" " unless the width is "標準"
};

// The background colour of the page from a 0x00BBGGRR window colour.
std::string TocColorHtml(int32_t color);
// The BODY tag: with a background picture, back.jpg for a ".jpg" picture
// (letter case aside) and back.gif for any other.
std::string TocBodyTag(const TocOptions& o);

// The pages as lines; a host given receives the progress text before each album.
std::vector<std::string> TocTablePage(const TocTexts& t, const TocOptions& o, const AlbumSettings& s,
                                      const std::vector<AlbumEntry>& albums, TocHost* host = nullptr);
std::vector<std::string> TocFramesetPage(const TocTexts& t, const AlbumSettings& s,
                                         const std::string& firstAlbumFolder);
std::vector<std::string> TocListPage(const TocTexts& t, const TocOptions& o, const AlbumSettings& s,
                                     const std::vector<AlbumEntry>& albums, TocHost* host = nullptr);

enum class TocOutcome {
  Written,  // the page or pages were written
  Stopped,  // ended with one of its messages; nothing or part was written
};

// The Execute command: checks, discovery, background copy, pages, and (unless
// noBrowserPrompt or a batch run says otherwise) the browser question.
TocOutcome MakeTableOfContents(const TocOptions& o, const AlbumSettings& s, const MainValues& main, TocHost& host,
                               const CivilDate& today);

namespace msg {
inline const Message kNoTocTitle{MessageId::NoTocTitle};
inline const Message kNoBackgroundPicture{MessageId::NoBackgroundPicture};
inline const Message kBackgroundCopyFailed{MessageId::BackgroundCopyFailed};
}  // namespace msg

}  // namespace pictavo
