#pragma once
// Reads back a page this program wrote (catalogue page, slide show, table of
// contents as a table, a frame list or a frameset) from its bytes, for the
// site check. The bytes come from a folder that may have been edited or
// damaged since, so nothing here trusts them: every structure is looked for
// and whatever is not where it should be becomes a `PageTrouble`, never a
// failure. No file is touched; addresses are taken apart but not resolved.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictavo {

enum class PageKind {
  NotOurs,     // no marker on line 2: someone else's page, left alone
  Album,       // the catalogue page of a folder
  SlideShow,
  TocTable,    // the table of contents as one table page
  TocList,     // the list page of a frame site
  TocFrameset,
  Unknown,     // our marker, but a head of no known form
};

// A tag attribute that holds an address (href, src, background, action),
// its value with character references decoded as a browser decodes them.
struct PageAddress {
  long line = 0;
  std::string tag;        // upper case
  std::string attribute;  // lower case
  std::string value;
};

// A thumbnail cell: a link with a picture inside (catalogue page: the
// picture and its thumbnail; table of contents: the album and its
// thumbnail), with the size the page gives the picture when it gives one.
struct PictureCell {
  long line = 0;
  std::string href;
  std::string src;
  std::optional<long long> width, height;
};

// One picture of the slide show: its name as the script puts it into the
// window's address (script escapes and references decoded) and its size.
struct SlideEntry {
  long line = 0;  // the line of imag[n]
  long long n = 0;
  std::string name;
  std::optional<long long> width, height;
};

// One album in a table of contents: the link with its title, and in the
// table without pictures the folder, count and date cells after it.
struct TocEntry {
  long line = 0;
  std::string href;
  std::string title;
  std::optional<std::string> count, date;
  long countLine = 0, dateLine = 0;
};

struct PageTrouble {
  long line = 0;  // 0 when it concerns the page as a whole
  std::string text;
};

struct ParsedPage {
  PageKind kind = PageKind::NotOurs;
  long lineCount = 0;
  std::vector<PageAddress> addresses;  // every address in a tag outside comments and scripts
  std::vector<PictureCell> cells;
  std::vector<SlideEntry> slides;
  std::vector<TocEntry> tocEntries;
  std::vector<PageTrouble> troubles;
};

// Parses the page's CP932 bytes. Line numbers count CR LF, CR and LF as line ends.
ParsedPage ParsePage(std::string_view bytes);

// An address taken apart as a browser would before it asks for a file.
enum class AddressKind {
  Empty,     // "" or blanks: the page itself
  Fragment,  // "#top": the page itself
  External,  // a scheme ("http:", "mailto:") or "//host": not a file of the site
  Absolute,  // "/x": the root of whatever serves the site
  Relative,
  Invalid,   // a segment that cannot be a file name (an encoded "/" or NUL)
};
struct Address {
  AddressKind kind = AddressKind::Empty;
  std::vector<std::string> segments;  // percent-decoded path segments, query and fragment cut
};
Address ParseAddress(std::string_view value);

// Character references in an attribute value: the named ones HTML 3.2 pages
// use and numeric ones; an unknown or malformed reference stays as typed.
std::string DecodeReferences(std::string_view s);

}  // namespace pictavo
