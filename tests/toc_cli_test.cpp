#include <gtest/gtest.h>

#include <csignal>

#include "album/album_page.h"
#include "cli_host.h"
#include "commands.h"
#include "cli_fixtures.h"
#include "fixtures.h"
#include "image/jpeg.h"
#include "platform/paths.h"
#include "session/session.h"
#include "test_util.h"
#include "toc/discovery.h"
#include "toc_test_util.h"

namespace pictavo {
namespace {

TEST(TocCli, AlbumPagesAreFoundWithTitleCountDateAndThumbnail) {
  TempDir dir;
  ::mkdir(dir.file("trip").c_str(), 0777);
  MakeJpeg(dir.file("trip/b.jpg"), 160, 120);
  MakeJpeg(dir.file("trip/a.jpg"), 90, 200);
  const CliResult r = Cli({"album", dir.file("trip"), "--title", "夏の旅 2026", "--pictures", "b.jpg,a.jpg"});
  ASSERT_EQ(r.status, 0) << r.err;

  const DiscoveryResult found = DiscoverAlbums(dir.path(), AlbumSettings{}, true);
  ASSERT_EQ(found.status, DiscoveryStatus::Found);
  ASSERT_EQ(found.albumCount, 1u);
  const AlbumEntry& e = found.albums[0];
  EXPECT_EQ(e.title, "夏の旅 2026");
  EXPECT_EQ(e.fileCount, "002");
  EXPECT_EQ(e.createdDate, PageDateText(Today()));
  EXPECT_EQ(e.thumbnailName, "b.jpg");  // the first picture in the user's order
  ASSERT_TRUE(e.hasThumbnailSize);
  EXPECT_EQ(e.thumbnailWidth, 110);     // 160 x 120 in the 110 x 150 box
  EXPECT_EQ(e.thumbnailHeight, 82);
}

TEST(TocCli, BatchMakesExactlyTheExpectedAlbumsAndLinksThem) {
  TempDir dir;
  for (const char* f : {"only-back", "mixed", "empty", "plain"}) ::mkdir(dir.file(f).c_str(), 0777);
  MakeJpeg(dir.file("only-back/back.jpg"), 40, 30);
  MakeJpeg(dir.file("mixed/Back.JPG"), 40, 30);
  MakeJpeg(dir.file("mixed/back.jpg"), 40, 30);
  MakeJpeg(dir.file("mixed/x.jpg"), 30, 40);
  MakeJpeg(dir.file("plain/p.jpg"), 160, 120);
  WriteAll(dir.file("plain/notes.txt"), "not a picture");

  const CliResult r = Cli({"batch", dir.path(), "--title", "Trips", "--pictures", "--open"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.file("index.htm") + "\n");
  EXPECT_NE(r.err.find("00001/00002 mixed\n00002/00002 plain\n"), std::string::npos) << r.err;

  EXPECT_EQ(ListDir(dir.file("only-back")), std::vector<std::string>{"back.jpg"});
  EXPECT_EQ(ListDir(dir.file("empty")), std::vector<std::string>{});
  EXPECT_EQ(ListDir(dir.file("mixed/htm_image")), (std::vector<std::string>{"Back.JPG", "x.jpg"}));
  EXPECT_EQ(ListDir(dir.file("plain/htm_image")), std::vector<std::string>{"p.jpg"});
  EXPECT_EQ(ReadCp932Lines(dir.file("mixed/index.htm"))[2], "<!-- FILE=002 Back.JPG -->");

  const auto toc = ReadCp932Lines(dir.file("index.htm"));
  EXPECT_EQ(toc[2], "<!-- FILE=002 -->");
  EXPECT_EQ(toc[6], "<TITLE>Trips</TITLE>");
  EXPECT_EQ(toc[23], "<TD align=\"center\" valign=\"middle\"><A href=\"mixed/index.htm\"><IMG "
                     "src=\"mixed/htm_image/Back.JPG\" ALT=\"mixed\" height=\"82\" width=\"110\" ></A></TD>");
  EXPECT_EQ(toc[24], "<TD align=\"center\" valign=\"middle\"><A href=\"plain/index.htm\"><IMG "
                     "src=\"plain/htm_image/p.jpg\" ALT=\"plain\" height=\"82\" width=\"110\" ></A></TD>");
  // Only the batch's own question was asked, and --open answered it.
  EXPECT_EQ(r.err.find("ブラウザを起動しますか？ -> いいえ"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("ブラウザを起動しますか？ -> はい"), std::string::npos) << r.err;
}

TEST(TocCli, CtrlCStopsTheBatchAfterTheCurrentAlbum) {
  TempDir dir;
  for (const char* f : {"a", "b"}) {
    ::mkdir(dir.file(f).c_str(), 0777);
    MakeJpeg(dir.file(f) + "/p.jpg", 20, 20);
  }
  cli::InstallInterruptHandler();
  std::raise(SIGINT);  // pending before the first folder: that album still completes
  const CliResult r = Cli({"batch", dir.path()});
  cli::ResetInterrupt();
  std::signal(SIGINT, SIG_DFL);
  EXPECT_EQ(r.status, 130) << r.err;
  EXPECT_NE(r.err.find("処理は中断されました\n"), std::string::npos) << r.err;
  EXPECT_TRUE(FileExists(dir.file("a/index.htm")));
  EXPECT_FALSE(PathExists(dir.file("b/index.htm")));
  EXPECT_FALSE(PathExists(dir.file("index.htm")));
}

TEST(TocCli, TocOptionsAndFailures) {
  TempDir dir;
  WriteAlbumWithThumbnail(dir.file("one"), "One", 160, 120);
  TempDir pictures;
  WriteAll(pictures.file("bg.gif"), "GIF89a");
  const CliResult r = Cli({"toc", dir.path(), "--frames", "--frame-title-size", "5", "--pictures", "--bg-color",
                           "255", "--bg-picture", pictures.file("bg.gif"), "--set", "noBrowserPrompt=on"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"back.gif", "index.htm", "one", "title.htm"}));
  const auto list = ReadCp932Lines(dir.file("title.htm"));
  EXPECT_EQ(list[6], "<TITLE>" + LastComponent(dir.path()) + "</TITLE>");
  EXPECT_EQ(list[8], "<BODY background=\"back.gif\" bgcolor=\"#FF0000\">");
  EXPECT_NE(list[13].find("<FONT size=\"5\""), std::string::npos);
  EXPECT_NE(list[22].find("height=\"60\" width=\"80\""), std::string::npos);
  EXPECT_EQ(r.err.find("ブラウザ"), std::string::npos);

  EXPECT_EQ(Cli({"toc", dir.path(), "--title", ""}).status, 1);
  EXPECT_EQ(Cli({"toc", dir.file("missing")}).status, 2);
  EXPECT_EQ(Cli({"toc", dir.path(), "--frame-title-size", "8"}).status, 2);
  EXPECT_EQ(Cli({"batch", dir.path(), "--set", "noSuchField=1"}).status, 2);
}

}  // namespace
}  // namespace pictavo
