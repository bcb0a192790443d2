#pragma once
// The catalogue page, block by block. Each function gives the lines of one
// block as UTF-8; the run writes them as they become due.

#include <string>
#include <vector>

#include "settings/album_settings.h"
#include "text/civil_date.h"

namespace pictavo {

// The texts prepared once per run before the page is written.
struct PageTexts {
  std::string version;            // programVersion
  std::string title;              // albumTitle
  CivilDate date;                 // creation date
  std::string backgroundHtml;     // ColorToHtml(backgroundColor)
  std::string textHtml;           // ColorToHtml(textColor)
  std::string titleColorHtml;     // ColorToHtml(titleFontColor)
  std::string titleBackHtml;      // ColorToHtml(titleBackgroundColor)
  std::string commentColorHtml;   // ColorToHtml(commentColor)
};

// Display size of a w x h picture in the thumbnail box: w / r by h / r,
// rounded half to even, r the larger of w / tw and h / th.
struct DisplaySize {
  long long width;
  long long height;
  long double ratio;
};
DisplaySize ThumbnailDisplaySize(int w, int h, int tw, int th);

std::vector<std::string> AlbumHeadBlock(const AlbumSettings& s, const PageTexts& t, long long selectedCount,
                                        const std::string& firstPicture);
std::vector<std::string> AlbumBodyOpening(const AlbumSettings& s, const PageTexts& t);
std::string AlbumPictureCell(const AlbumSettings& s, const std::string& name, int w, int h, long long displayWidth,
                             long long displayHeight);
std::string AlbumCommentCell(const PageTexts& t, long long displayWidth, const std::string& comment1,
                             const std::string& comment2);
// Row break after a full row; with comments the buffered comment cells follow
// (and the caller empties its buffer).
std::vector<std::string> AlbumRowBreak(bool comments, const std::vector<std::string>& commentRow);
// Filler cells for the last row, then with comments the last comment row (an
// empty slot is an empty line).
std::vector<std::string> AlbumTableEnd(int perRow, long long processed, bool comments,
                                       const std::vector<std::string>& commentRow);
std::vector<std::string> AlbumClosingBlock(const AlbumSettings& s);

// "    2026.12.7" cut to the last ten characters.
std::string PageDateText(const CivilDate& d);
// "[2026年12月7日作成]"
std::string CreationDateLine(const CivilDate& d);

}  // namespace pictavo
