#include <gtest/gtest.h>

#include <algorithm>

#include "settings/album_settings.h"
#include "test_util.h"
#include "toc/toc_page.h"
#include "toc_test_util.h"

namespace pictavo {
namespace {

const CivilDate kDay{2026, 12, 8};

struct TocFixture : ::testing::Test {
  TocFixture() {
    ResetSettings(settings);
    options.tocFolder = dir.path();
    options.tocTitle = "旅の記録";
  }
  TocOutcome run() { return MakeTableOfContents(options, settings, main, host, kDay); }
  std::vector<std::string> page(const std::string& name = "index.htm") { return ReadCp932Lines(dir.file(name)); }

  TempDir dir;
  AlbumSettings settings;
  MainValues main;
  TocOptions options;
  TocRecordingHost host;
};

std::vector<AlbumEntry> Entries(int n) {
  std::vector<AlbumEntry> albums;
  for (int k = 1; k <= n; ++k) {
    const std::string i = std::to_string(k);
    albums.push_back({"a" + i, "T" + i, "001", " 2026.12.8", "p" + i + ".jpg", false, 0, 0});
  }
  return albums;
}

// The lines of the album table: from after its "<TR>" (line 23) to before the closing block.
std::vector<std::string> TableRows(const std::vector<std::string>& lines) {
  return {lines.begin() + 23, lines.end() - 8};
}

TEST_F(TocFixture, TablePageWithoutPicturesLineByLine) {
  WriteAlbumPage(dir.file("trip"), "Trip", "001", "p.jpg");
  ASSERT_EQ(run(), TocOutcome::Written);
  const std::vector<std::string> expected = {
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
      "<!-- Pictavo Version 2.02 -->",
      "<!-- FILE=001 -->",
      "<!-- 2026.12.8 -->",
      "<HTML>",
      "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
      "<TITLE>旅の記録</TITLE>",
      "</HEAD>",
      "<BODY bgcolor=\"#808080\">",
      "",
      "<CENTER>",
      "<TABLE border=\"3\">",
      "<TR>",
      "<TD align=\"center\" bgcolor=\"#FFFFFF\"><FONT size=\"7\" color=\"#000000\" face=\"ＭＳ Ｐ明朝\">　旅の記録　</FONT></TD></TR>",
      "</TABLE>",
      "</CENTER>",
      "<P align=\"right\">",
      "[2026年12月8日作成]",
      "</P>",
      "<CENTER>",
      "<BR>",
      "<TABLE border=\"1\">",
      "<TR>",
      "<TD align=\"center\">タイトル</TD><TD align=\"center\">フォルダ名</TD><TD align=\"center\">ファイル数</TD>"
      "<TD align=\"center\">作成日</TD>",
      "</TR>",
      "<TR>",
      "<TD align=\"center\"><A href=\"trip/index.htm\">Trip</A></TD>",
      "<TD align=\"center\">trip</TD>",
      "<TD align=\"center\">001</TD>",
      "<TD align=\"center\"> 2026.12.8</TD>",
      "</TR>",
      "</TABLE>",
      "</CENTER>",
      "<P align=\"right\">",
      "Created by <A href=\"https://pictavo.example.org/\">Pictavo</A>",
      "</P>",
      "</BODY>",
      "</HTML>",
  };
  EXPECT_EQ(page(), expected);
  const std::string bytes = ReadAll(dir.file("index.htm"));
  EXPECT_EQ(bytes.substr(bytes.size() - 9), "</HTML>\r\n");
  EXPECT_NE(bytes.find("\x97\xB7\x82\xCC\x8B\x4C\x98\x5E"), std::string::npos);  // the title in CP932
  EXPECT_EQ(host.tocProgress, std::vector<std::string>{"001/001"});
  EXPECT_EQ(host.questions.size(), 1u);
  EXPECT_TRUE(host.opened.empty());
}

TEST(TocPage, PicturesFiveToARow) {
  AlbumSettings s;
  ResetSettings(s);
  TocTexts t;
  TocOptions o;
  o.showPictures = true;
  auto picture = [](int k) {
    const std::string i = std::to_string(k);
    return "<TD align=\"center\" valign=\"middle\"><A href=\"a" + i + "/index.htm\"><IMG src=\"a" + i +
           "/htm_image/p" + i + ".jpg\" ALT=\"T" + i + "\"></A></TD>";
  };
  auto title = [](int k) {
    const std::string i = std::to_string(k);
    return "<TD align=\"center\"><A href=\"a" + i + "/index.htm\">T" + i + "</A></TD>";
  };
  const std::string next = "</TR><TR>";

  std::vector<std::string> seven;
  for (int k = 1; k <= 5; ++k) seven.push_back(picture(k));
  seven.push_back(next);
  for (int k = 1; k <= 5; ++k) seven.push_back(title(k));
  seven.insert(seven.end(), {next, picture(6), picture(7), next, title(6), title(7), "<TD></TD>", "<TD></TD>",
                             "<TD></TD>"});
  const auto lines7 = TocTablePage(t, o, s, Entries(7));
  EXPECT_EQ(TableRows(lines7), seven);
  EXPECT_EQ(lines7[lines7.size() - 8], "</TR>");

  std::vector<std::string> five;
  for (int k = 1; k <= 5; ++k) five.push_back(picture(k));
  five.push_back(next);
  for (int k = 1; k <= 5; ++k) five.push_back(title(k));
  EXPECT_EQ(TableRows(TocTablePage(t, o, s, Entries(5))), five);

  // The thumbnail's own size when it was read.
  auto sized = Entries(1);
  sized[0].hasThumbnailSize = true;
  sized[0].thumbnailWidth = 110;
  sized[0].thumbnailHeight = 83;
  EXPECT_NE(TableRows(TocTablePage(t, o, s, sized))[0].find("ALT=\"T1\" height=\"83\" width=\"110\" ></A>"),
            std::string::npos);
}

TEST(TocPage, CountKeepsItsLastThreeDigitsAndNamesAreEscaped) {
  AlbumSettings s;
  ResetSettings(s);
  TocTexts t;
  t.count3 = "000";  // what 1000 albums give
  TocOptions o;
  auto albums = Entries(1000);
  EXPECT_EQ(TocTablePage(t, o, s, albums)[2], "<!-- FILE=000 -->");

  albums.resize(1);
  albums[0].folderName = "R&D #1";
  const auto rows = TableRows(TocTablePage(t, o, s, albums));
  EXPECT_EQ(rows[3], "<TD align=\"center\"><A href=\"R&amp;D %231/index.htm\">T1</A></TD>");
  EXPECT_EQ(rows[4], "<TD align=\"center\">R&amp;D #1</TD>");
}

TEST_F(TocFixture, FramesetAndListPageWithEightyPixelThumbnails) {
  WriteAlbumWithThumbnail(dir.file("b"), "Second", 150, 101);
  WriteAlbumWithThumbnail(dir.file("A"), "First", 160, 120);
  WriteAlbumPage(dir.file("c"), "Third", "001", "none.jpg");
  options.useFrames = true;
  options.showPictures = true;
  options.frameTitleSize = 4;
  settings.titleBold = "on";
  settings.titleItalic = "on";
  settings.titleTableWidth = "600";
  ASSERT_EQ(run(), TocOutcome::Written);

  const auto frameset = page();
  ASSERT_EQ(frameset.size(), 18u);
  EXPECT_EQ(frameset[2], "<!-- FRAME TOP PAGE -->");
  EXPECT_EQ(frameset[9], "<FRAMESET cols=\"20%,80%\">");
  EXPECT_EQ(frameset[10], "<FRAME src=\"title.htm\" name=\"h_title\" scrolling=\"auto\" >");
  EXPECT_EQ(frameset[11], "<FRAME src=\"A/index.htm\" name=\"h_main\" scrolling=\"auto\" >");
  EXPECT_EQ(frameset[17], "</HTML>");

  const auto list = page("title.htm");
  EXPECT_EQ(list[2], "<!-- FILE=003 -->");
  EXPECT_EQ(list[13], "<TD align=\"center\" width=\"600\" bgcolor=\"#FFFFFF\"><FONT size=\"4\" color=\"#000000\" "
                      "face=\"ＭＳ Ｐ明朝\"><B><I>旅の記録</I></B></FONT></TD></TR>");
  const std::vector<std::string> rows(list.begin() + 22, list.end() - 8);
  const std::vector<std::string> expected = {
      "<TR><TD align=\"center\" valign=\"middle\"><A href=\"A/index.htm\" target=\"h_main\"><IMG "
      "src=\"A/htm_image/p.jpg\" ALT=\"First\" height=\"60\" width=\"80\" ></A></TD>",
      "</TR>",
      "<TR><TD align=\"center\"><A href=\"A/index.htm\" target=\"h_main\">First</A></TD>",
      "</TR>",
      "<TR><TD align=\"center\" valign=\"middle\"><A href=\"b/index.htm\" target=\"h_main\"><IMG "
      "src=\"b/htm_image/p.jpg\" ALT=\"Second\" height=\"54\" width=\"80\" ></A></TD>",
      "</TR>",
      "<TR><TD align=\"center\"><A href=\"b/index.htm\" target=\"h_main\">Second</A></TD>",
      "</TR>",
      "<TR><TD align=\"center\" valign=\"middle\"><A href=\"c/index.htm\" target=\"h_main\"><IMG "
      "src=\"c/htm_image/none.jpg\" ALT=\"Third\"></A></TD>",
      "</TR>",
      "<TR><TD align=\"center\"><A href=\"c/index.htm\" target=\"h_main\">Third</A></TD>",
      "</TR>",
  };
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(std::vector<std::string>(list.end() - 8, list.end()),
            (std::vector<std::string>{"", "</TABLE>", "<BR>", "Created by<BR>",
                                      "<A href=\"https://pictavo.example.org/\">Pictavo</A>", "</CENTER>", "</BODY>",
                                      "</HTML>"}));
}

TEST_F(TocFixture, ChecksStopBeforeAnythingIsWritten) {
  options.tocTitle = "";
  EXPECT_EQ(run(), TocOutcome::Stopped);
  options.tocTitle = "T";
  options.useBackgroundPicture = true;
  EXPECT_EQ(run(), TocOutcome::Stopped);
  options.useBackgroundPicture = false;
  EXPECT_EQ(run(), TocOutcome::Stopped);
  ::mkdir(dir.file("plain").c_str(), 0777);
  EXPECT_EQ(run(), TocOutcome::Stopped);
  WriteAlbumPage(dir.file("album"), "A", "001", "p.jpg");
  settings.titleFontColor = "red";
  EXPECT_EQ(run(), TocOutcome::Stopped);
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{"目次のタイトルが指定されていません。", "背景の画像ファイルが指定されていません。",
                                      "ファルダがありません。", "対象のファルダがありません。",
                                      "設定 titleFontColor の値「red」は正しい整数ではありません。\r処理は中断されました。"}));
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"album", "plain"}));
}

TEST_F(TocFixture, BackgroundPictureCopyAndRefusals) {
  WriteAlbumPage(dir.file("album"), "A", "001", "p.jpg");
  TempDir pictures;
  WriteAll(pictures.file("sky.JPG"), "sky");
  WriteAll(pictures.file("back.jpg"), "new back");
  WriteAll(pictures.file("wall.jpeg"), "wall");
  WriteAll(dir.file("back.gif"), "old gif");
  options.useBackgroundPicture = true;

  // ".JPG" counts as ".jpg": the copy becomes back.jpg and an earlier back.gif goes.
  options.backgroundPicturePath = pictures.file("sky.JPG");
  ASSERT_EQ(run(), TocOutcome::Written);
  EXPECT_EQ(ReadAll(dir.file("back.jpg")), "sky");
  EXPECT_EQ(page()[8], "<BODY background=\"back.jpg\" bgcolor=\"#808080\">");
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"album", "back.jpg", "index.htm"}));

  // A picture named like a file already in the folder (here the earlier
  // back.jpg) is refused and nothing changes.
  WriteAll(dir.file("index.htm"), "old page");
  options.backgroundPicturePath = pictures.file("back.jpg");
  EXPECT_EQ(run(), TocOutcome::Stopped);
  EXPECT_EQ(host.messages.back(), "背景ファイルコピーに失敗しました。\r処理は中断されました。");
  EXPECT_EQ(ReadAll(dir.file("back.jpg")), "sky");
  EXPECT_EQ(ReadAll(dir.file("index.htm")), "old page");

  // Any other extension: the back.gif body tag, and the copy keeps its name.
  options.backgroundPicturePath = pictures.file("wall.jpeg");
  options.tocBackgroundColor = 0x0000FF;  // red
  ASSERT_EQ(run(), TocOutcome::Written);
  EXPECT_EQ(page()[8], "<BODY background=\"back.gif\" bgcolor=\"#FF0000\">");
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"album", "index.htm", "wall.jpeg"}));

  // A picture called back.gif is the new background, not deleted with the old ones.
  WriteAll(pictures.file("back.gif"), "new gif");
  options.backgroundPicturePath = pictures.file("back.gif");
  ASSERT_EQ(run(), TocOutcome::Written);
  EXPECT_EQ(ReadAll(dir.file("back.gif")), "new gif");

  // A source that cannot be read: the file-copy message, no page.
  WriteAll(dir.file("index.htm"), "old page");
  options.backgroundPicturePath = pictures.file("missing.jpg");
  EXPECT_EQ(run(), TocOutcome::Stopped);
  EXPECT_EQ(host.messages.back(), "ファイル " + pictures.file("missing.jpg") + " は開けません");
  EXPECT_EQ(ReadAll(dir.file("index.htm")), "old page");
}

TEST_F(TocFixture, BrowserQuestion) {
  WriteAlbumPage(dir.file("album"), "A", "001", "p.jpg");
  host.answer = true;
  settings.noBrowserPrompt = "on";
  run();
  main.batchRunning = true;
  settings.noBrowserPrompt = "off";
  run();
  EXPECT_TRUE(host.questions.empty());

  main.batchRunning = false;
  run();
  settings.browserPath = "/usr/bin/browser";
  run();
  ASSERT_EQ(host.questions.size(), 2u);
  EXPECT_EQ(host.questions[0], "Pictavo: 　　　　ファイル作成終了　　　　\rブラウザを起動しますか？");
  const std::string base = dir.path() + "/";
  EXPECT_EQ(host.opened, (std::vector<std::string>{"associated " + base + "index.htm",
                                                   "/usr/bin/browser " + base + "index.htm in " + base}));
}

TEST(TocPage, ColourOfTheWindowIsCutFromEightDigits) {
  EXPECT_EQ(TocColorHtml(0x808080), "808080");
  EXPECT_EQ(TocColorHtml(0x00336699), "996633");
  // A colour with bits above the 24th keeps only its low three bytes.
  EXPECT_EQ(TocColorHtml(static_cast<int32_t>(0x80000005)), "050000");
}

}  // namespace
}  // namespace pictavo
