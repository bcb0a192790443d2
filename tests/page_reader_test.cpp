#include "check/page_reader.h"

#include <gtest/gtest.h>

#include "album/album_page.h"
#include "album/slideshow_page.h"
#include "checks.h"
#include "settings/album_settings.h"
#include "text/encoding.h"

namespace pictavo {
namespace {

std::string PageBytes(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& l : lines) bytes += Utf8ToCp932(l) + "\r\n";
  return bytes;
}

std::vector<std::string> AlbumHead(const std::string& first) {
  AlbumSettings s;
  ResetSettings(s);
  PageTexts t;
  t.version = "2.02";
  t.title = "t";
  t.date = {2026, 12, 9};
  return AlbumHeadBlock(s, t, 1, first);
}

// What a browser asks for: the address's last segment.
std::string LastSegment(const std::string& value) {
  const Address a = ParseAddress(value);
  EXPECT_EQ(a.kind, AddressKind::Relative) << value;
  return a.segments.empty() ? "" : a.segments.back();
}

TEST(PageReader, OddNamesWrittenByThePageWritersReadBackAsTheSameFiles) {
  AlbumSettings s;
  ResetSettings(s);
  s.thumbnailPrefix = "tn_";
  s.openInSubWindow = "on";
  s.scriptPopup = "on";
  const std::vector<std::string> names = {"100% #1?.jpg", "a&b \"q\" <x>.jpg", "é😀.jpg", "夕焼け 海.jpg",
                                          "back\\slash.jpg", "&#233;.jpg", "tab\tname.jpg", "it's = `x`.jpg"};
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    std::vector<std::string> lines = AlbumHead(name);
    lines.push_back(AlbumPictureCell(s, name, 640, 480, 110, 83));
    lines.push_back("</HTML>");
    const ParsedPage page = ParsePage(PageBytes(lines));
    ASSERT_EQ(page.kind, PageKind::Album);
    EXPECT_TRUE(page.troubles.empty());
    ASSERT_EQ(page.cells.size(), 1u);
    EXPECT_EQ(page.cells[0].line, 14);
    // A backslash is a slash to a browser: such a name cannot be linked, and
    // the reader says so the way a browser would see it.
    if (name.find('\\') == std::string::npos) {
      EXPECT_EQ(LastSegment(page.cells[0].href), name);
      EXPECT_EQ(LastSegment(page.cells[0].src), "tn_" + name);
    }
    EXPECT_EQ(page.cells[0].width, 110);
    EXPECT_EQ(page.cells[0].height, 83);

    std::vector<std::string> show = SlideShowHead(s, "2.02", "t", 1);
    for (const auto& l : SlideShowEntry(1, name, {640, 480})) show.push_back(l);
    show.push_back("</HTML>");
    const ParsedPage slides = ParsePage(PageBytes(show));
    ASSERT_EQ(slides.kind, PageKind::SlideShow);
    EXPECT_TRUE(slides.troubles.empty());
    ASSERT_EQ(slides.slides.size(), 1u);
    EXPECT_EQ(slides.slides[0].line, 18);
    EXPECT_EQ(LastSegment("./" + slides.slides[0].name), name);
    EXPECT_EQ(slides.slides[0].width, 640);
    EXPECT_EQ(slides.slides[0].height, 480);
  }
}

TEST(PageReader, AddressesAreTakenApartAsABrowserDoes) {
  EXPECT_EQ(ParseAddress("").kind, AddressKind::Empty);
  EXPECT_EQ(ParseAddress("  ").kind, AddressKind::Empty);
  EXPECT_EQ(ParseAddress("#top").kind, AddressKind::Fragment);
  for (const char* external : {"http://example.com/x", "HTTPS://x", "mailto:a@b", "javascript:void(0)", "//host/x",
                               "C:\\photos\\a.jpg"}) {
    EXPECT_EQ(ParseAddress(external).kind, AddressKind::External) << external;
  }
  EXPECT_EQ(ParseAddress("/etc/passwd").kind, AddressKind::Absolute);
  EXPECT_EQ(ParseAddress("\\etc\\passwd").kind, AddressKind::Absolute);
  // An encoded slash would let one segment climb out of the folder.
  EXPECT_EQ(ParseAddress("..%2F..%2Fetc/passwd").kind, AddressKind::Invalid);
  EXPECT_EQ(ParseAddress("a%00.jpg").kind, AddressKind::Invalid);

  const Address a = ParseAddress(" sub\\a%20b%2e.jpg?x=1#frag ");
  EXPECT_EQ(a.kind, AddressKind::Relative);
  EXPECT_EQ(a.segments, (std::vector<std::string>{"sub", "a b..jpg"}));
  EXPECT_EQ(ParseAddress("%2E%2E/x").segments, (std::vector<std::string>{"..", "x"}));
  EXPECT_EQ(ParseAddress("100%.jpg").segments, (std::vector<std::string>{"100%.jpg"}));
  EXPECT_EQ(ParseAddress("%E5%A4%95.jpg").segments, (std::vector<std::string>{"夕.jpg"}));
}

TEST(PageReader, ReferencesAreDecodedAndMalformedOnesStay) {
  EXPECT_EQ(DecodeReferences("a&amp;b&lt;&gt;&quot;&apos;"), "a&b<>\"'");
  EXPECT_EQ(DecodeReferences("&#233;&#xE9;&#X41;&#65"), "ééAA");
  EXPECT_EQ(DecodeReferences("&bogus; & &#; &#x;"), "&bogus; & &#; &#x;");
  EXPECT_EQ(DecodeReferences("&#0;&#99999999999;&#xD800;"), "\uFFFD\uFFFD\uFFFD");
}

TEST(PageReader, PagesOfEveryKindAreRecognisedByTheirHead) {
  const std::string doc = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">";
  const std::string marker = "<!-- Pictavo Version 2.02 -->";
  auto kind = [&](const std::string& third, const std::string& marker2 = "<!-- Pictavo Version 2.02 -->") {
    return ParsePage(PageBytes({doc, marker2, third, "<!-- 2026.12.9 -->", "<HTML>", "", "<TITLE>t</TITLE>",
                                "</HTML>"}))
        .kind;
  };
  EXPECT_EQ(kind("<!-- FILE=003 a.jpg -->"), PageKind::Album);
  EXPECT_EQ(kind("<!-- FILE=003 a.jpg -->", "<!-- Lumetto Version 1.6 -->"), PageKind::Album);
  EXPECT_EQ(kind("<!-- FILE=012 -->"), PageKind::TocTable);
  EXPECT_EQ(kind("<!-- FRAME TOP PAGE -->"), PageKind::TocFrameset);
  EXPECT_EQ(kind("<!--  -->"), PageKind::SlideShow);
  EXPECT_EQ(kind("something else"), PageKind::Unknown);
  EXPECT_EQ(kind("<!-- FILE=003 a.jpg -->", "<!-- pictavo"), PageKind::NotOurs);
  EXPECT_EQ(ParsePage("").kind, PageKind::NotOurs);
}

TEST(PageReader, DamagedPagesBecomeTroublesNeverFailures) {
  std::vector<std::string> head = AlbumHead("a.jpg");
  // Cut short, a cell without its picture, a cell whose quote never closes.
  std::vector<std::string> lines = head;
  lines.push_back("  <TD align=\"center\" valign=\"middle\"><A href=\"a.jpg\"></A></TD>");
  lines.push_back("  <TD align=\"center\" valign=\"middle\"><A href=\"b.jpg><IMG src=\"x");
  const ParsedPage page = ParsePage(PageBytes(lines));
  EXPECT_EQ(page.kind, PageKind::Album);
  ASSERT_EQ(page.troubles.size(), 3u);
  EXPECT_EQ(page.troubles[0].line, 15);  // no </HTML>: the last line
  EXPECT_EQ(page.troubles[1].line, 14);
  EXPECT_EQ(page.troubles[2].line, 15);
  EXPECT_TRUE(page.cells.empty());

  // Slide-show lines out of order, twice, or without sizes.
  AlbumSettings s;
  ResetSettings(s);
  std::vector<std::string> show = SlideShowHead(s, "2.02", "t", 2);
  show.insert(show.end(), {"imagx[2]=\"10\";", "imag[1]=\"a.jpg\";", "imag[1]=\"b.jpg\";", "imagx[1]=\"1x\";",
                           "imag[", "</HTML>"});
  const ParsedPage slides = ParsePage(PageBytes(show));
  ASSERT_EQ(slides.slides.size(), 1u);
  EXPECT_EQ(slides.slides[0].name, "a.jpg");
  std::vector<long> troubleLines;
  for (const auto& t : slides.troubles) troubleLines.push_back(t.line);
  EXPECT_EQ(troubleLines, (std::vector<long>{18, 20, 22, 19}));

  // Bytes that are no page at all, with our head in front.
  std::string junk = PageBytes({head.begin(), head.begin() + 3});
  for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 37) % 256);
  const ParsedPage damaged = ParsePage(junk);
  EXPECT_EQ(damaged.kind, PageKind::Album);
  EXPECT_FALSE(damaged.troubles.empty());
}

TEST(PageReader, ScriptsAndCommentsHoldNoAddresses) {
  std::vector<std::string> lines = AlbumHead("a.jpg");
  lines.insert(lines.end(), {"<BODY background=\"htm_image/back.jpg\">", "<!-- <IMG src=\"commented.jpg\"> -->",
                             "<SCRIPT>document.write(\"<IMG SRC=./\"+x+\">\");</script>",
                             "<A HREF=unquoted.htm>x</A><img SRC='single.jpg'>", "<FORM action=\"SShow.htm\">",
                             "</HTML>"});
  const ParsedPage page = ParsePage(PageBytes(lines));
  std::vector<std::string> found;
  for (const auto& a : page.addresses) found.push_back(std::to_string(a.line) + " " + a.tag + " " + a.value);
  EXPECT_EQ(found, (std::vector<std::string>{"14 BODY htm_image/back.jpg", "17 A unquoted.htm", "17 IMG single.jpg",
                                             "18 FORM SShow.htm"}));
}

// Pieces of any size read back as the whole: a page read from a file
// arrives a piece at a time, cut anywhere, inside a character, a
// reference, a tag or a line end.
TEST(PageReader, APageReadInPiecesReadsAsAWhole) {
  std::vector<std::string> lines = AlbumHead("夕焼け.jpg");
  lines.insert(lines.end(), {"<BODY background=\"htm_image/back.jpg\">", "<A href=\"&#233;t&#233;.htm\">x</A>",
                             "<A href=\"a\r\nb.htm\"><!-- <A href=\"no.htm\"> -->\r<SCRIPT>x</SCRIPT><A href=y>",
                             "  <TD align=\"center\" valign=\"middle\"><A href=\"夕焼け.jpg\"><IMG "
                             "src=\"htm_image/夕焼け.jpg\" width=\"4\" height=\"3\"></A></TD>",
                             "\xF0\x9F\x98\x80 &#128512; <A href=\"\xF0\x9F\x98\x80.htm\">", "</HTML>"});
  const std::string bytes = PageBytes(lines) + "\x82";  // ends inside a character
  const std::string whole = fuzz::PageDigest(ParsePage(bytes));
  EXPECT_NE(whole.find("A15Ahrefété.htm"), std::string::npos) << whole;
  for (size_t step : {1, 2, 3, 5, 7, 64}) {
    MemoryPageSource source(bytes, step);
    EXPECT_EQ(fuzz::PageDigest(ParsePage(source)), whole) << step;
  }
}

// The bounds of one reading: a line too long to keep is scanned for its
// addresses but is no cell; an address too long to be a file is a trouble.
TEST(PageReader, LongLinesAndAddressesAreBounded) {
  std::vector<std::string> lines = AlbumHead("a.jpg");
  const std::string cell =
      "  <TD align=\"center\" valign=\"middle\"><A href=\"a.jpg\"><IMG src=\"htm_image/a.jpg\"></A></TD>";
  lines.push_back(cell);
  lines.push_back(cell + std::string(kPageLineLimit, ' ') + "<A href=\"far.htm\">");
  lines.push_back("<A href=\"" + std::string(kPageAddressLimit + 1, 'x') + "\"><A href=\"next.htm\">");
  lines.push_back("</HTML>");
  const ParsedPage page = ParsePage(PageBytes(lines));
  ASSERT_EQ(page.cells.size(), 1u);
  EXPECT_EQ(page.cells[0].line, 14);
  std::vector<std::string> found;
  for (const auto& a : page.addresses) found.push_back(std::to_string(a.line) + " " + a.value + (a.inCell ? " cell" : ""));
  EXPECT_EQ(found, (std::vector<std::string>{"14 a.jpg cell", "14 htm_image/a.jpg cell", "15 a.jpg",
                                             "15 htm_image/a.jpg", "15 far.htm", "16 next.htm"}));
  ASSERT_EQ(page.troubles.size(), 1u);
  EXPECT_EQ(page.troubles[0].line, 16);
  EXPECT_EQ(page.troubles[0].text, "an address longer than 64 KB, not checked");
}

}  // namespace
}  // namespace pictavo
