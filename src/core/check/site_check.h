#pragma once
// The site check: reads the pages this program wrote in a folder (and with
// `recursive` in every folder below it) and reports what no longer holds:
// addresses that lead nowhere, thumbnails that are missing, damaged, older
// than their picture or of another size than the page gives, slide-show
// pictures that are gone or changed size, table-of-contents entries that no
// longer match their album, and pictures no page shows. It writes nothing.
//
// Only what lies inside the checked folder is ever read: an address that
// climbs out of it ("..") or is absolute, and a symbolic link that leads out
// of it, is reported as a note and not followed. Addresses with a scheme
// (http:, mailto:) and bare fragments are not files of the site and are
// passed over silently.

#include <cstddef>
#include <string>
#include <vector>

namespace pictavo {

enum class Severity { Problem, Note };

enum class FindingKind {
  Unreadable,        // a page that cannot be read or parsed
  MissingFile,       // an address on a page that does not resolve to a file
  MissingPicture,    // a catalogue link or slide-show entry whose picture is gone
  MissingThumbnail,
  BadThumbnail,      // not a readable JPEG
  StaleThumbnail,    // older than its picture
  ThumbnailSize,     // another size than the page gives it
  BadPicture,        // a slide-show picture that is not a readable JPEG
  SlideSize,         // a slide-show size that no longer fits the picture
  MissingAlbum,      // a table-of-contents entry whose album page is gone
  NotAlbum,          // ... whose page is not an album page
  TocTitle,
  TocCount,
  TocDate,
  Outside,           // note: an address leading out of the checked folder, not followed
  UnshownPicture,    // note: a picture in an album folder that no page shows
};

// A stable name for scripts ("missing-thumbnail").
const char* FindingKindName(FindingKind kind);

struct Finding {
  Severity severity = Severity::Problem;
  FindingKind kind = FindingKind::Unreadable;
  std::string page;  // relative to the checked folder: "trip/index.htm"; a picture for UnshownPicture
  long line = 0;     // 1-based; 0 when the finding concerns no line
  std::string text;
  std::vector<long> alsoLines;  // the same finding on more lines of the page
};

// A file of the site that a page of this program is, or that such a page
// leads to, found inside the checked folder (links that lead out are not
// among them). For a caller that copies the site.
enum class SiteFileRole {
  Page,     // a page of this program
  Picture,  // a picture a catalogue cell links or a slide show shows
  Linked,   // anything else a page leads to: thumbnails, backgrounds, other pages
};
struct SiteFile {
  std::string path;  // relative to the checked folder
  SiteFileRole role = SiteFileRole::Linked;
  // The largest size a slide show gives the picture; 0 when none does.
  long long shownWidth = 0, shownHeight = 0;
  // Every size a page gives a picture: thumbnail cells (display size) and
  // slide-show entries, as (width, height, slide).
  struct Shown {
    long long width = 0, height = 0;
    bool slide = false;
  };
  std::vector<Shown> shown;
};

// Whether a catalogue cell's display size W x H was made from a w x h
// picture: one side is the box's and the other follows from the picture's
// proportions, as the page writer computes it.
bool CellFitsPicture(long long w, long long h, long long W, long long H);
// Whether a slide-show size x by y fits a w x h picture: its full size, or
// reduced to a size limit (one side the limit, the other from the proportions).
bool SlideFitsPicture(long long w, long long h, long long x, long long y);

struct CheckOptions {
  bool recursive = false;
};

struct SiteCheckResult {
  bool ok = true;     // false when the folder itself cannot be listed; `error` says why
  std::string error;
  size_t pages = 0;   // pages of this program that were checked
  std::vector<Finding> findings;  // folder by folder, page by page, line by line
  std::vector<SiteFile> files;    // in path order
  size_t problems() const;
  size_t notes() const;
};

// Pages are the ".htm" and ".html" files whose second line carries this
// program's marker; other files are not looked at.
inline constexpr size_t kCheckPageReadLimit = 64 * 1024 * 1024;

SiteCheckResult CheckSite(const std::string& folder, const CheckOptions& options);

}  // namespace pictavo
