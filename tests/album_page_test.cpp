#include <gtest/gtest.h>

#include "album/album_page.h"
#include "album/slideshow_page.h"

namespace pictavo {
namespace {

PageTexts Texts() {
  PageTexts t;
  t.version = "2.02";
  t.title = "旅行";
  t.date = {2026, 12, 7};
  t.backgroundHtml = "FFFFFF";
  t.textHtml = "000000";
  t.titleColorHtml = "000000";
  t.titleBackHtml = "FFFFFF";
  t.commentColorHtml = "FF0000";
  return t;
}

TEST(AlbumPage, HeadBlockWithScript) {
  AlbumSettings s;
  s.scriptPopup = "on";
  s.thumbnailPrefix = "s_";
  const auto lines = AlbumHeadBlock(s, Texts(), 7, "a.jpg");
  ASSERT_EQ(lines.size(), 31u);
  EXPECT_EQ(lines[0], "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">");
  EXPECT_EQ(lines[1], "<!-- Pictavo Version 2.02 -->");
  EXPECT_EQ(lines[2], "<!-- FILE=007 s_a.jpg -->");
  EXPECT_EQ(lines[3], "<!--  2026.12.7 -->");
  EXPECT_EQ(lines[6], "<TITLE>旅行</TITLE>");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[12], "        (3 <= parseInt(navigator.appVersion.substring(0, 1)))) ");
  EXPECT_EQ(lines[17],
            "  sub_win=window.open(file,\"sub\",\"width=\"+imgx+\",height=\"+imgy+\",toolbar=no,menubar=no,"
            "location=no,status=no,scrollbars=yes,resizable=yes\");");
  EXPECT_EQ(lines[25], lines[17]);
  EXPECT_EQ(lines[22], "  imgx=eval(xpic)+40;");
  EXPECT_EQ(lines[27], " }");
  EXPECT_EQ(lines[30], "</HEAD>");
}

TEST(AlbumPage, HeadBlockWithoutScriptAndCountCut) {
  AlbumSettings s;
  const auto lines = AlbumHeadBlock(s, Texts(), 1234, "a.jpg");
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[2], "<!-- FILE=234 a.jpg -->");
  EXPECT_EQ(lines[7], "</HEAD>");
  for (size_t i = 8; i < 13; ++i) EXPECT_EQ(lines[i], "");
}

TEST(AlbumPage, DateTexts) {
  EXPECT_EQ(PageDateText({2026, 12, 7}), " 2026.12.7");
  EXPECT_EQ(PageDateText({2026, 1, 2}), "  2026.1.2");
  EXPECT_EQ(PageDateText({2026, 12, 17}), "2026.12.17");
  EXPECT_EQ(CreationDateLine({2026, 12, 7}), "[2026年12月7日作成]");
}

TEST(AlbumPage, BodyOpeningDefaults) {
  AlbumSettings s;
  const std::vector<std::string> expected = {
      "<BODY bgcolor=\"#FFFFFF\" text=\"#000000\">",
      "<CENTER>",
      "<TABLE border=\"1\"><TR><TD align=\"center\" bgcolor=\"#FFFFFF\">",
      "<FONT size=\"7\" color=\"#000000\" face=\"ＭＳ Ｐ明朝\">　旅行　</FONT>",
      "</TD></TR></TABLE>",
      "</CENTER>",
      "<P align=\"right\">",
      "[2026年12月7日作成]",
      "</P>",
      "<CENTER>",
      "<BR>",
      "",
      "<TABLE border=\"1\">",
      "<TR>",
  };
  EXPECT_EQ(AlbumBodyOpening(s, Texts()), expected);
}

TEST(AlbumPage, BodyOpeningVariants) {
  AlbumSettings s;
  s.titleUseTable = "off";
  s.titleFontSpecified = "off";
  s.titleBold = "on";
  s.titleItalic = "on";
  s.defaultHeader = "off";
  s.headerComment = "<B>夏</B>";
  s.backgroundPattern = "on";
  s.backgroundFile = "/pics/Paper.JPG";
  auto lines = AlbumBodyOpening(s, Texts());
  EXPECT_EQ(lines[0], "<BODY background=\"htm_image/back.jpg\" bgcolor=\"#FFFFFF\" text=\"#000000\">");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "<FONT size=\"7\" color=\"#000000\" ><B><I>　旅行　</I></B></FONT>");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[7], "<B>夏</B>");

  s.backgroundFile = "/pics/paper.jpeg";  // anything but .jpg names back.gif
  s.titleUseTable = "on";
  s.titleTableWidth = "300";
  s.titleTableBorder = "0";
  lines = AlbumBodyOpening(s, Texts());
  EXPECT_EQ(lines[0], "<BODY background=\"htm_image/back.gif\" bgcolor=\"#FFFFFF\" text=\"#000000\">");
  EXPECT_EQ(lines[2], "<TABLE border=\"0\"><TR><TD align=\"center\" width=\"300\" bgcolor=\"#FFFFFF\">");
  s.backgroundPattern = "";  // empty counts as off
  EXPECT_EQ(AlbumBodyOpening(s, Texts())[0], "<BODY bgcolor=\"#FFFFFF\" text=\"#000000\">");
}

TEST(AlbumPage, PictureCells) {
  AlbumSettings s;
  EXPECT_EQ(AlbumPictureCell(s, "a.jpg", 1600, 1000, 110, 69),
            "  <TD align=\"center\" valign=\"middle\"><A href=\"a.jpg\"><IMG src=\"htm_image/a.jpg\" ALT=\"a\" "
            "height=\"69\" width=\"110\"></A></TD>");
  s.openInSubWindow = "on";
  s.scriptPopup = "on";
  s.pictureFrame = "off";
  s.thumbnailPrefix = "s_";
  EXPECT_EQ(AlbumPictureCell(s, "海辺の朝.jpg", 1600, 1000, 110, 69),
            "  <TD align=\"center\" valign=\"middle\"><A href=\"海辺の朝.jpg\" onclick=\"disp('海辺の朝.jpg',1600,1000)\" "
            "target=\"sub\"><IMG src=\"htm_image/s_海辺の朝.jpg\" ALT=\"海辺の朝\" border=\"0\" height=\"69\" "
            "width=\"110\"></A></TD>");
  s.scriptPopup = "off";
  s.pictureFrame = "";  // not off: no border attribute
  EXPECT_EQ(AlbumPictureCell(s, "b.jpg", 10, 10, 110, 110),
            "  <TD align=\"center\" valign=\"middle\"><A href=\"b.jpg\" target=\"sub\"><IMG src=\"htm_image/s_b.jpg\" "
            "ALT=\"b\" height=\"110\" width=\"110\"></A></TD>");
}

TEST(AlbumPage, NamesThatWouldBreakThePageAreEscaped) {
  AlbumSettings s;
  s.openInSubWindow = "on";
  s.scriptPopup = "on";
  EXPECT_EQ(AlbumPictureCell(s, "Tom & \"Jo\" #1?'s.jpg", 20, 10, 110, 55),
            "  <TD align=\"center\" valign=\"middle\"><A href=\"Tom &amp; &quot;Jo&quot; %231%3F's.jpg\" "
            "onclick=\"disp('Tom &amp; &quot;Jo&quot; %231%3F\\'s.jpg',20,10)\" target=\"sub\"><IMG "
            "src=\"htm_image/Tom &amp; &quot;Jo&quot; %231%3F's.jpg\" ALT=\"Tom &amp; &quot;Jo&quot; #1?'s\" "
            "height=\"55\" width=\"110\"></A></TD>");
  EXPECT_EQ(SlideShowEntry(2, "a\"b\\c.jpg", {5, 6})[0], "imag[2]=\"a&#34;b%5Cc.jpg\";");
}

TEST(AlbumPage, CommentCellsRowsAndEnd) {
  const PageTexts t = Texts();
  EXPECT_EQ(AlbumCommentCell(t, 94, "海", ""),
            "  <TD align=\"center\" valign=\"middle\" width=\"94\"><FONT color=\"#FF0000\">海</FONT></TD>");
  EXPECT_EQ(AlbumCommentCell(t, 94, "海", "朝"),
            "  <TD align=\"center\" valign=\"middle\" width=\"94\"><FONT color=\"#FF0000\">海<BR>朝</FONT></TD>");
  EXPECT_EQ(AlbumCommentCell(t, 94, "", ""),
            "  <TD align=\"center\" valign=\"middle\" width=\"94\"><FONT color=\"#FF0000\"></FONT></TD>");

  const std::vector<std::string> row = {"c1", "c2", "c3"};
  EXPECT_EQ(AlbumRowBreak(false, row), (std::vector<std::string>{"</TR>", "<TR>"}));
  EXPECT_EQ(AlbumRowBreak(true, row), (std::vector<std::string>{"</TR>", "<TR>", "c1", "c2", "c3", "</TR>", "<TR>"}));

  // One picture, five per row: four fillers.
  EXPECT_EQ(AlbumTableEnd(5, 1, false, {}), std::vector<std::string>(4, "  <TD></TD>"));
  // A full last row: no filler; comments follow with empty slots as empty lines.
  EXPECT_EQ(AlbumTableEnd(3, 6, true, {"a", "b", "c"}), (std::vector<std::string>{"</TR>", "<TR>", "a", "b", "c"}));
  EXPECT_EQ(AlbumTableEnd(3, 4, true, {"a", "", ""}),
            (std::vector<std::string>{"  <TD></TD>", "  <TD></TD>", "</TR>", "<TR>", "a", "", ""}));
}

TEST(AlbumPage, ClosingBlockAndFooters) {
  AlbumSettings s;
  auto lines = AlbumClosingBlock(s);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[3], "</CENTER>");
  EXPECT_EQ(lines[5], std::string("Created by <A href=\"") + kHomePageUrl + "\">「Pictavo」</A>");
  EXPECT_EQ(lines[9], "</HTML>");
  s.makeSlideShow = "on";
  s.defaultFooter = "off";
  s.footerComment = "by me";
  s.footerLink = "off";
  lines = AlbumClosingBlock(s);
  EXPECT_EQ(lines[3], "<FORM action=\"SShow.htm\"><input type=SUBMIT value=\" スライドショウ \"></FORM></CENTER>");
  EXPECT_EQ(lines[5], "by me");
  s.footerLink = "";  // not off: a link
  s.footerLinkUrl = "mailto:me@example.org";
  EXPECT_EQ(AlbumClosingBlock(s)[5], "<A href=\"mailto:me@example.org\">by me</A>");
}

TEST(AlbumPage, DisplaySizes) {
  auto d = ThumbnailDisplaySize(1600, 1000, 110, 150);
  EXPECT_EQ(d.width, 110);
  EXPECT_EQ(d.height, 69);
  d = ThumbnailDisplaySize(1000, 1600, 110, 150);
  EXPECT_EQ(d.width, 94);
  EXPECT_EQ(d.height, 150);
  d = ThumbnailDisplaySize(100, 50, 110, 150);
  EXPECT_EQ(d.width, 110);
  EXPECT_EQ(d.height, 55);
  // Halves go to the even neighbour: 137 / 2 = 68.5 gives 68.
  d = ThumbnailDisplaySize(220, 137, 110, 150);
  EXPECT_EQ(d.height, 68);
}

TEST(SlideShowPage, HeadEntriesAndTail) {
  AlbumSettings s;
  const auto head = SlideShowHead(s, "2.02", "旅行", 10);
  ASSERT_EQ(head.size(), 17u);
  EXPECT_EQ(head[2], "<!--  -->");
  EXPECT_EQ(head[6], "<TITLE>旅行 Slide Show</TITLE>");
  EXPECT_EQ(head[10], "var imag=new makearray(10);");
  EXPECT_EQ(head[14], "var TimerSet1=3000;");
  EXPECT_EQ(head[16], "");
  EXPECT_EQ(SlideShowEntry(3, "a.jpg", {1000, 750}),
            (std::vector<std::string>{"imag[3]=\"a.jpg\";", "imagx[3]=\"1000\";", "imagy[3]=\"750\";"}));

  const auto tail = SlideShowTail("FFFFFF", 3, true, 2000, 1500, 1000, 750);
  ASSERT_EQ(tail.size(), 86u);
  EXPECT_EQ(tail[3], "        (ver <= parseInt(navigator.appVersion.charAt(0)))) ");
  EXPECT_EQ(tail[36], "  if (i>3) {");
  EXPECT_EQ(tail[59], "<BODY bgcolor=\"#FFFFFF\">");
  EXPECT_EQ(tail[63],
            "    s_win=window.open(\"\",\"s_sub\",\"width=1020,height=770,toolbar=no,menubar=no,location=no,"
            "status=no,scrollbars=no,resizable=yes\");");
  EXPECT_EQ(tail[74], "スライドショウを開始します。");
  EXPECT_EQ(tail[82], std::string("Created by <A href=\"") + kHomePageUrl + "\">Pictavo</A>");
  EXPECT_EQ(SlideShowTail("FFFFFF", 2, false, 2000, 1500, 1000, 750)[63].substr(0, 56),
            "    s_win=window.open(\"\",\"s_sub\",\"width=2020,height=1520");
}

TEST(SlideShowPage, SizeLimit) {
  auto sz = SlideShowDisplaySize(true, 2000, 1500, 1000, 750);
  EXPECT_EQ(sz.width, 1000);
  EXPECT_EQ(sz.height, 750);
  sz = SlideShowDisplaySize(true, 800, 600, 1000, 750);
  EXPECT_EQ(sz.width, 800);
  EXPECT_EQ(sz.height, 600);
  sz = SlideShowDisplaySize(true, 1200, 600, 1000, 750);
  EXPECT_EQ(sz.width, 1000);
  EXPECT_EQ(sz.height, 500);
  sz = SlideShowDisplaySize(true, 600, 1500, 1000, 750);
  EXPECT_EQ(sz.width, 300);
  EXPECT_EQ(sz.height, 750);
  sz = SlideShowDisplaySize(false, 2000, 1500, 1000, 750);
  EXPECT_EQ(sz.width, 2000);
}

}  // namespace
}  // namespace pictavo
