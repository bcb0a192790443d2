#include <gtest/gtest.h>

#include <csignal>

#include "cli_host.h"
#include "commands.h"
#include "cli_fixtures.h"
#include "fixtures.h"
#include "platform/paths.h"
#include "test_util.h"

namespace pictavo {
namespace {

TEST(CliAlbum, UsageAndHelp) {
  EXPECT_EQ(Cli({"--help"}).status, 0);
  EXPECT_NE(Cli({"--help"}).out.find("album"), std::string::npos);
  EXPECT_EQ(Cli({"album", "--help"}).status, 0);
  EXPECT_NE(Cli({"album", "--help"}).out.find("--per-row"), std::string::npos);
  EXPECT_EQ(Cli({}).status, 2);
  EXPECT_EQ(Cli({"album"}).status, 2);
  EXPECT_EQ(Cli({"frobnicate"}).status, 2);
  TempDir dir;
  EXPECT_EQ(Cli({"album", dir.path(), "--per-row", "11"}).status, 2);
  const CliResult unknown = Cli({"album", dir.path(), "--set", "noSuchField=1"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "pictavo-cli: unknown settings field: noSuchField\n");
  const CliResult notNumber = Cli({"album", dir.path(), "--set", "picturesPerRow=x"});
  EXPECT_EQ(notNumber.status, 2);
  EXPECT_EQ(notNumber.err, "pictavo-cli: 'x' is not a valid integer for picturesPerRow\n");
  EXPECT_EQ(Cli({"album", dir.file("missing")}).status, 2);
}

TEST(CliAlbum, MakesTheAlbumOfAFolder) {
  TempDir dir;
  MakeJpeg(dir.file("b.jpg"), 60, 40);
  MakeJpeg(dir.file("A.jpg"), 60, 40);
  MakeJpeg(dir.file("c.JPG"), 60, 40);
  WriteAll(dir.file("notes.txt"), "x");
  const CliResult r = Cli({"album", dir.path(), "--per-row", "2", "--set", "makeSlideShow=on", "--quiet"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto page = ReadCp932Lines(dir.file("index.htm"));
  const std::string folderName = dir.path().substr(dir.path().rfind('/') + 1);
  EXPECT_EQ(page[6], "<TITLE>" + folderName + "</TITLE>");
  EXPECT_EQ(page[2], "<!-- FILE=003 A.jpg -->");  // name order ignores letter case
  EXPECT_TRUE(PathExists(dir.file("SShow.htm")));
  EXPECT_EQ(ListDir(dir.file("htm_image")), (std::vector<std::string>{"A.jpg", "b.jpg", "c.JPG"}));
}

TEST(CliAlbum, PicturesTitleAndComments) {
  TempDir dir;
  MakeJpeg(dir.file("a.jpg"), 60, 40);
  MakeJpeg(dir.file("b.jpg"), 60, 40);
  // Comments are wanted, so the folder needs its comment file; b.jpg has no record.
  WriteAll(dir.file("PicComment.txt"), "*****************************\r\na.jpg\r\nx\r\n\r\n");
  const CliResult r = Cli({"album", dir.path(), "--pictures", "b.jpg,a.jpg", "--title", "海の日", "--comments",
                           "--comment-color", "255", "--set", "thumbnailWidth=200"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.path() + "/index.htm\n");
  const auto page = ReadCp932Lines(dir.file("index.htm"));
  EXPECT_EQ(page[2], "<!-- FILE=002 b.jpg -->");
  EXPECT_EQ(page[6], "<TITLE>海の日</TITLE>");
  bool commentCell = false;
  for (const auto& l : page) commentCell |= l.find("<FONT color=\"#FF0000\"></FONT>") != std::string::npos;
  EXPECT_TRUE(commentCell);
}

TEST(CliAlbum, FailureMessagesGiveStatusOne) {
  TempDir dir;
  WriteAll(dir.file("bad.jpg"), "no picture here");
  const CliResult r = Cli({"album", dir.path(), "--quiet"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("JPEGファイルを読み込めませんでした。\n処理は中断されました。"), std::string::npos) << r.err;
  TempDir empty;
  const CliResult none = Cli({"album", empty.path(), "--quiet"});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("ファイルが選択されていません。"), std::string::npos);
}

TEST(CliAlbum, InterruptIsTheAbortButton) {
  TempDir dir;
  MakeJpeg(dir.file("a.jpg"), 60, 40);
  MakeJpeg(dir.file("b.jpg"), 60, 40);
  cli::InstallInterruptHandler();
  std::raise(SIGINT);
  const CliResult r = Cli({"album", dir.path(), "--quiet"});
  cli::ResetInterrupt();
  std::signal(SIGINT, SIG_DFL);
  EXPECT_EQ(r.status, 130);  // both pages completed, and a script can tell it was stopped
  EXPECT_NE(r.err.find("処理は中断されました。"), std::string::npos);
  const auto page = ReadCp932Lines(dir.file("index.htm"));
  EXPECT_EQ(page.back(), "</HTML>");
  EXPECT_FALSE(PathExists(dir.file("htm_image/a.jpg")));
}

}  // namespace
}  // namespace pictavo
