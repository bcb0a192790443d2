#pragma once
// Reads back a page this program wrote (catalogue page, slide show, table of
// contents as a table, a frame list or a frameset) from its bytes, for the
// site check. The bytes come from a folder that may have been edited or
// damaged since, so nothing here trusts them: every structure is looked for
// and whatever is not where it should be becomes a `PageTrouble`, never a
// failure. No file is touched; addresses are taken apart but not resolved.
//
// A page is read as a stream, so that its size and shape do not decide the
// memory it takes: a few lines and one tag are held at a time. Lines longer
// than kPageLineLimit are scanned for addresses but not taken for cells,
// entries or slide-show lines; an address longer than kPageAddressLimit is
// a trouble, not an address; at most kPageSlideLimit bytes of slide-show
// entries are kept for their sizes (the rest are a trouble).

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
  std::string tag;        // upper case (its first 64 characters)
  std::string attribute;  // lower case
  std::string value;
  bool inCell = false;    // the picture cell or table-of-contents entry on its line stands for it
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

inline constexpr size_t kPageLineLimit = 64 * 1024;
inline constexpr size_t kPageAddressLimit = 64 * 1024;
inline constexpr size_t kPageSlideLimit = 8 * 1024 * 1024;

// Where a page's bytes come from. `read` fills up to `size` bytes and
// returns how many (0 at the end); `rewind` starts over, for the second
// reading (the kind of a page can hang on any of its lines).
class PageSource {
 public:
  virtual ~PageSource() = default;
  virtual size_t read(char* buffer, size_t size) = 0;
  virtual bool rewind() = 0;
};

// Bytes in memory, handed over at most `piece` bytes at a time.
class MemoryPageSource : public PageSource {
 public:
  explicit MemoryPageSource(std::string_view bytes, size_t piece = static_cast<size_t>(-1))
      : m_bytes(bytes), m_piece(piece) {}
  size_t read(char* buffer, size_t size) override;
  bool rewind() override {
    m_pos = 0;
    return true;
  }

 private:
  std::string_view m_bytes;
  size_t m_piece, m_pos = 0;
};

// Receives a page's parts as they are read. Each part comes once; `order`
// ranks the troubles as ParsedPage lists them. A false return stops the
// reading.
class PageVisitor {
 public:
  virtual ~PageVisitor() = default;
  virtual bool begin(PageKind kind) = 0;  // after the first reading; a page NotOurs is not visited further
  virtual bool trouble(const PageTrouble& trouble, int order) = 0;
  virtual bool cell(const PictureCell& cell) = 0;
  virtual bool tocEntry(const TocEntry& entry) = 0;
  virtual bool slide(const SlideEntry& slide) = 0;  // after the last line, with the sizes found
  virtual bool address(const PageAddress& address) = 0;
  virtual void end(long lineCount) = 0;  // not called when the reading was stopped
};

// Reads the page from `source` and hands its parts to `visitor`; returns the
// page's kind. Line numbers count CR LF, CR and LF as line ends.
PageKind ReadPage(PageSource& source, PageVisitor& visitor);

// The same, gathered: the page's CP932 bytes in memory, or a source.
ParsedPage ParsePage(std::string_view bytes);
ParsedPage ParsePage(PageSource& source);

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
