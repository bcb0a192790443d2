#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "album/album_run.h"
#include "album/thumbnail_stream.h"
#include "check/site_check.h"
#include "fixtures.h"
#include "image/jpeg.h"
#include "platform/paths.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

// One album folder with its run state; pictures are added by the test.
struct Album {
  TempDir dir;
  AlbumSettings settings;
  MainValues main;
  std::vector<PictureEntry> list;
  RecordingHost host;
  WithoutRunDuties extras;
  int perRow = 5;
  SinkOpener openPage = OpenAtomicSink;

  Album() {
    main.currentFolder = dir.path();
    main.albumTitle = "旅行";
  }
  void add(const std::string& name, int w, int h, const JpegOptions& o = {}) {
    MakeJpeg(dir.file(name), w, h, o);
    list.push_back({name, true});
  }
  RunOutcome run() {
    AlbumRunState state{settings, main, list, host, perRow, CivilDate{2026, 12, 7}, {}, {}, {}, true};
    state.openPage = openPage;
    return AlbumRun(state, extras);
  }
  std::vector<std::string> page() const { return ReadCp932Lines(dir.file("index.htm")); }
  std::vector<std::string> show() const { return ReadCp932Lines(dir.file("SShow.htm")); }
  JpegInfo thumb(const std::string& name) const {
    JpegInfo info;
    EXPECT_TRUE(Succeeded(ReadJpegInfo(dir.file("htm_image/" + name), info)));
    return info;
  }
};

std::vector<std::string> CellsOf(const std::vector<std::string>& page) {
  std::vector<std::string> cells;
  for (const auto& l : page) {
    if (l.rfind("  <TD align=\"center\" valign=\"middle\"><A", 0) == 0) cells.push_back(l);
  }
  return cells;
}

TEST(AlbumRun, WritesPageSlideShowAndThumbnails) {
  Album a;
  a.settings.makeSlideShow = "on";
  a.add("a.jpg", 1600, 1000);
  a.add("b.jpg", 1000, 1600);
  a.add("c.jpg", 100, 50);
  a.add("d.jpg", 110, 150);
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_TRUE(a.host.messages.empty());
  EXPECT_EQ(a.host.endings, std::vector<bool>{false});

  EXPECT_EQ(a.thumb("a.jpg").width, 110);
  EXPECT_EQ(a.thumb("a.jpg").height, 69);
  EXPECT_EQ(a.thumb("b.jpg").width, 94);
  EXPECT_EQ(a.thumb("c.jpg").width, 110);  // enlarged until it touches the box
  EXPECT_EQ(a.thumb("c.jpg").height, 55);
  EXPECT_EQ(a.thumb("d.jpg").width, 110);

  const auto page = a.page();
  ASSERT_EQ(page.size(), 13u + 14u + 4u + 1u + 10u);
  EXPECT_EQ(page[2], "<!-- FILE=004 a.jpg -->");
  EXPECT_EQ(page[3], "<!--  2026.12.7 -->");
  EXPECT_EQ(page[27], "  <TD align=\"center\" valign=\"middle\"><A href=\"a.jpg\"><IMG src=\"htm_image/a.jpg\" ALT=\"a\" "
                      "height=\"69\" width=\"110\"></A></TD>");
  EXPECT_EQ(page[31], "  <TD></TD>");
  EXPECT_EQ(page[32], "</TR>");
  EXPECT_EQ(page[35], "<FORM action=\"SShow.htm\"><input type=SUBMIT value=\" スライドショウ \"></FORM></CENTER>");

  const auto show = a.show();
  ASSERT_EQ(show.size(), 17u + 12u + 86u);
  EXPECT_EQ(show[10], "var imag=new makearray(4);");
  EXPECT_EQ(show[17], "imag[1]=\"a.jpg\";");
  EXPECT_EQ(show[18], "imagx[1]=\"1600\";");
  EXPECT_EQ(show[29 + 36], "  if (i>4) {");
  EXPECT_NE(show[29 + 63].find("width=1620,height=1620"), std::string::npos);

  // Status texts: the counter in the form 0001/0004 plus three blanks.
  EXPECT_NE(std::find(a.host.statusLog.begin(), a.host.statusLog.end(), "2:0004/0004   "), a.host.statusLog.end());
  EXPECT_NE(std::find(a.host.statusLog.begin(), a.host.statusLog.end(), "0:通常圧縮"), a.host.statusLog.end());
  EXPECT_EQ(a.host.previews.size(), 4u);
  EXPECT_EQ(a.host.status[0], "");
}

TEST(AlbumRun, FilterPathSizesAndStatus) {
  Album a;
  a.settings.thumbnailFilter = "on";
  a.add("a.jpg", 1600, 1000);
  a.add("d.jpg", 110, 150);  // exactly the box: normal path even with the filter on
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(a.thumb("a.jpg").height, 68);
  EXPECT_EQ(a.thumb("d.jpg").height, 150);
  EXPECT_NE(a.page()[27].find("height=\"69\""), std::string::npos);
  const auto& log = a.host.statusLog;
  EXPECT_NE(std::find(log.begin(), log.end(), "0:フィルター処理"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "0:通常圧縮"), log.end());
}

TEST(AlbumRun, OrientationGivesUprightThumbnailsAndPortraitSizes) {
  for (int orientation : {6, 8}) {
    Album a;
    a.settings.openInSubWindow = "on";
    a.settings.scriptPopup = "on";
    // Stored 1600 x 1000 sideways; shown as 1000 x 1600.
    Bitmap stored = Bitmap::Create(1600, 1000, 24);
    for (int y = 0; y < 1000; ++y)
      for (int x = 0; x < 1600; ++x) stored.row(y)[3 * x] = x < 800 ? 255 : 0;  // left half red
    WriteTestJpeg(a.dir.file("p.jpg"), stored, {false, 95, orientation});
    a.list.push_back({"p.jpg", true});
    ASSERT_EQ(a.run(), RunOutcome::Completed);
    EXPECT_EQ(a.thumb("p.jpg").width, 94);
    EXPECT_EQ(a.thumb("p.jpg").height, 150);
    const std::string cell = CellsOf(a.page())[0];
    EXPECT_NE(cell.find("disp('p.jpg',1000,1600)"), std::string::npos) << cell;
    EXPECT_NE(cell.find("height=\"150\" width=\"94\""), std::string::npos);
    // The stored left half is the top (orientation 6) or bottom (8) once upright.
    Bitmap t;
    JpegInfo info;
    ASSERT_TRUE(Succeeded(DecodeJpegFile(a.dir.file("htm_image/p.jpg"), t, info)));
    const int topRed = t.row(10)[3 * 47], bottomRed = t.row(140)[3 * 47];
    if (orientation == 6) {
      EXPECT_GT(topRed, 200);
      EXPECT_LT(bottomRed, 50);
    } else {
      EXPECT_LT(topRed, 50);
      EXPECT_GT(bottomRed, 200);
    }
  }
}

TEST(AlbumRun, SelectionRules) {
  Album a;
  MakeJpeg(a.dir.file("back.jpg"), 20, 20);
  a.list = {{"back.jpg", true}};
  EXPECT_EQ(a.run(), RunOutcome::Failed);
  EXPECT_EQ(a.host.messages, std::vector<std::string>{"ファイルが選択されていません。"});
  EXPECT_FALSE(a.list[0].selected);
  EXPECT_EQ(a.host.endings, std::vector<bool>{true});
  EXPECT_FALSE(PathExists(a.dir.file("index.htm")));

  // Entries between selected ones are passed over; those after the last are never read.
  Album b;
  b.add("a.jpg", 40, 30);
  b.add("b.jpg", 40, 30);
  b.add("c.jpg", 40, 30);
  b.list.push_back({"not-there.jpg", false});
  b.list[1].selected = false;
  b.list.insert(b.list.begin(), {"back.jpg", true});
  MakeJpeg(b.dir.file("back.jpg"), 20, 20);
  ASSERT_EQ(b.run(), RunOutcome::Completed);
  const auto cells = CellsOf(b.page());
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_NE(cells[1].find("c.jpg"), std::string::npos);
  EXPECT_EQ(b.page()[2], "<!-- FILE=002 a.jpg -->");
  EXPECT_FALSE(PathExists(b.dir.file("htm_image/back.jpg")));
}

TEST(AlbumRun, AbortAfterThreeOfTen) {
  Album a;
  a.settings.makeSlideShow = "on";
  for (int i = 0; i < 10; ++i) a.add("p" + std::to_string(i) + ".jpg", 30, 20);
  a.host.abortAfterEvents = 3;
  ASSERT_EQ(a.run(), RunOutcome::Aborted);
  EXPECT_EQ(a.host.messages, std::vector<std::string>{"処理は中断されました。"});
  EXPECT_EQ(CellsOf(a.page()).size(), 3u);
  EXPECT_EQ(a.page().back(), "</HTML>");
  const auto show = a.show();
  EXPECT_EQ(show[10], "var imag=new makearray(10);");
  EXPECT_EQ(std::count_if(show.begin(), show.end(), [](const std::string& l) { return l.rfind("imag[", 0) == 0; }), 3);
  EXPECT_EQ(show[17 + 9 + 36], "  if (i>3) {");
  EXPECT_FALSE(PathExists(a.dir.file("htm_image/p3.jpg")));
  EXPECT_TRUE(a.host.questions.empty());
  EXPECT_EQ(a.host.endings, std::vector<bool>{false});
}

TEST(AlbumRun, CommentRowsFollowEveryFullRow) {
  Album a;
  a.perRow = 3;
  a.main.addComments = true;
  for (int i = 1; i <= 6; ++i) a.add("p" + std::to_string(i) + ".jpg", 30, 20);
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  const auto page = a.page();
  // After the body opening: 3 cells, </TR>, <TR>, 3 comment cells, </TR>, <TR>, 3 cells, </TR>, <TR>, 3 comments.
  const size_t body = 13 + 14;
  EXPECT_EQ(page[body + 3], "</TR>");
  EXPECT_EQ(page[body + 5].substr(0, 45), "  <TD align=\"center\" valign=\"middle\" width=\"1");
  EXPECT_EQ(page[body + 8], "</TR>");
  EXPECT_EQ(page[body + 13], "</TR>");
  EXPECT_EQ(page[body + 15].find("<FONT color=\"#000000\"></FONT>") != std::string::npos, true);
  EXPECT_EQ(page[body + 18], "</TR>");  // the closing block
  EXPECT_EQ(page.size(), body + 18 + 10);
}

TEST(AlbumRun, SkipExistingThumbnailsKeepsFilesAndPage) {
  Album a;
  a.add("a.jpg", 1600, 1000);
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  const auto firstPage = ReadAll(a.dir.file("index.htm"));
  WriteAll(a.dir.file("htm_image/a.jpg"), "kept as it is");
  a.settings.skipExistingThumbnails = "on";
  a.host = RecordingHost{};
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(ReadAll(a.dir.file("htm_image/a.jpg")), "kept as it is");
  EXPECT_EQ(ReadAll(a.dir.file("index.htm")), firstPage);
  const auto& log = a.host.statusLog;
  EXPECT_NE(std::find(log.begin(), log.end(), "0:ファイル作成スキップ"), log.end());
  EXPECT_TRUE(a.host.previews.empty());
}

// Only a file counts as a thumbnail to keep; a folder in its place is no
// thumbnail, and the run says it cannot write one there.
TEST(AlbumRun, SkipExistingIgnoresAFolderInTheThumbnailsPlace) {
  Album a;
  a.settings.skipExistingThumbnails = "on";
  a.add("a.jpg", 160, 100);
  ASSERT_TRUE(MakeFolders(a.dir.file("htm_image/a.jpg")));
  EXPECT_EQ(a.run(), RunOutcome::Failed);
  EXPECT_EQ(a.host.messages, std::vector<std::string>{RenderMessage(msg::kWriteError)});
  const auto& log = a.host.statusLog;
  EXPECT_EQ(std::find(log.begin(), log.end(), "0:ファイル作成スキップ"), log.end());
}

TEST(AlbumRun, PrefixAndClearedThumbnailFolder) {
  Album a;
  a.settings.thumbnailPrefix = "s_";
  a.settings.clearThumbnailFolder = "on";
  a.add("a.jpg", 50, 40);
  ASSERT_EQ(::mkdir(a.dir.file("htm_image").c_str(), 0777), 0);
  WriteAll(a.dir.file("htm_image/old.jpg"), "x");
  WriteAll(a.dir.file("htm_image/.hidden"), "x");
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(ListDir(a.dir.file("htm_image")), (std::vector<std::string>{".hidden", "s_a.jpg"}));
  EXPECT_EQ(a.page()[2], "<!-- FILE=001 s_a.jpg -->");
}

TEST(AlbumRun, ReadFailureClosesThePageAndEndsTheRun) {
  Album a;
  a.settings.makeSlideShow = "on";
  a.add("a.jpg", 50, 40);
  WriteAll(a.dir.file("b.jpg"), "this is not a JPEG");
  a.list.push_back({"b.jpg", true});
  a.add("c.jpg", 50, 40);
  EXPECT_EQ(a.run(), RunOutcome::Failed);
  EXPECT_EQ(a.host.messages, std::vector<std::string>{"JPEGファイルを読み込めませんでした。\r処理は中断されました。"});
  EXPECT_EQ(a.host.notes.size(), 1u);
  EXPECT_EQ(CellsOf(a.page()).size(), 1u);  // what was written stays
  EXPECT_EQ(CellsOf(a.show()).size(), 0u);
  EXPECT_EQ(a.show()[17], "imag[1]=\"a.jpg\";");
  EXPECT_FALSE(PathExists(a.dir.file("htm_image/c.jpg")));
  EXPECT_EQ(a.host.endings, std::vector<bool>{true});
}

TEST(AlbumRun, WriteFailures) {
  {
    Album a;  // the thumbnail folder name is taken by a file
    a.add("a.jpg", 50, 40);
    WriteAll(a.dir.file("htm_image"), "x");
    EXPECT_EQ(a.run(), RunOutcome::Failed);
    EXPECT_EQ(a.host.messages, std::vector<std::string>{"ファイル書き込みエラーが発生しました。\r処理は中断されました。"});
    EXPECT_FALSE(PathExists(a.dir.file("index.htm")));
  }
  if (::geteuid() != 0) {
    Album a;  // the page cannot be created
    a.add("a.jpg", 50, 40);
    ASSERT_EQ(::mkdir(a.dir.file("htm_image").c_str(), 0777), 0);
    ::chmod(a.dir.path().c_str(), 0555);
    EXPECT_EQ(a.run(), RunOutcome::Failed);
    ::chmod(a.dir.path().c_str(), 0755);
    EXPECT_EQ(a.host.messages, std::vector<std::string>{"ファイル書き込みエラーが発生しました。\r処理は中断されました。"});
  }
  {
    Album a;  // the page name is a folder: the head cannot be written
    a.settings.htmlFileName = "page";
    a.add("a.jpg", 50, 40);
    ASSERT_EQ(::mkdir(a.dir.file("page").c_str(), 0777), 0);
    EXPECT_EQ(a.run(), RunOutcome::Failed);
    EXPECT_EQ(a.host.messages.size(), 1u);
  }
}

// A disk that fills while a page is written: the earlier pages stay whole,
// byte for byte, with their permission bits, and no temporary file is left;
// the next run with room replaces them.
TEST(AlbumRun, AFullDiskLeavesThePreviousPagesWhole) {
  auto prepare = [](Album& a) {
    a.settings.makeSlideShow = "on";
    for (int i = 0; i < 6; ++i) a.add("p" + std::to_string(i) + ".jpg", 60, 40);
  };
  Album whole;
  prepare(whole);
  ASSERT_EQ(whole.run(), RunOutcome::Completed);
  const size_t page = ReadAll(whole.dir.file("index.htm")).size(), show = ReadAll(whole.dir.file("SShow.htm")).size();
  struct Case {
    const char* fullAt;  // the page whose disk fills
    size_t limit;        // after this many bytes: in the head, among the cells, in the last line
  };
  for (const Case c : {Case{"index.htm", 100}, Case{"index.htm", page / 2}, Case{"index.htm", page - 3},
                       Case{"SShow.htm", 200}, Case{"SShow.htm", show - 3}}) {
    const std::string what = std::string(c.fullAt) + " full at " + std::to_string(c.limit);
    Album a;
    prepare(a);
    WriteAll(a.dir.file("index.htm"), "the page of last week");
    WriteAll(a.dir.file("SShow.htm"), "the slide show of last week");
    ASSERT_EQ(::chmod(a.dir.file("index.htm").c_str(), 0640), 0);
    a.openPage = [&c](const std::string& path) {
      SinkOpening opened = OpenAtomicSink(path);
      if (opened.sink && LastComponent(path) == c.fullAt) {
        opened.sink = std::make_unique<LimitedSink>(std::move(opened.sink), c.limit);
      }
      return opened;
    };
    EXPECT_EQ(a.run(), RunOutcome::Failed) << what;
    ASSERT_EQ(a.host.messages.size(), 1u) << what;
    EXPECT_EQ(a.host.messages[0].rfind("ファイル書き込みエラーが発生しました。", 0), 0u) << what;
    EXPECT_EQ(a.host.endings, std::vector<bool>{true}) << what;
    EXPECT_EQ(ReadAll(a.dir.file("index.htm")), "the page of last week") << what;
    EXPECT_EQ(ReadAll(a.dir.file("SShow.htm")), "the slide show of last week") << what;
    EXPECT_EQ(HiddenNames(a.dir.path()), std::vector<std::string>{}) << what;

    a.openPage = OpenAtomicSink;
    a.host = RecordingHost{};
    ASSERT_EQ(a.run(), RunOutcome::Completed) << what;
    EXPECT_EQ(CellsOf(a.page()).size(), 6u) << what;
    EXPECT_EQ(a.show().back(), "</HTML>") << what;
    struct stat st {};
    ASSERT_EQ(::stat(a.dir.file("index.htm").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << what;
  }
}

// An Abort and a failure other than the disk's still put the pages in place
// as they stand; only what was written, nothing of a temporary, is left.
TEST(AlbumRun, PagesCutShortByAFailureOrAnAbortReplaceTheOldOnes) {
  for (bool abort : {false, true}) {
    Album a;
    a.settings.makeSlideShow = "on";
    a.add("a.jpg", 50, 40);
    a.add("b.jpg", 50, 40);
    if (abort) {
      a.host.abortAfterEvents = 1;
    } else {
      WriteAll(a.dir.file("b.jpg"), "not a JPEG");
    }
    WriteAll(a.dir.file("index.htm"), "old");
    WriteAll(a.dir.file("SShow.htm"), "old");
    EXPECT_EQ(a.run(), abort ? RunOutcome::Aborted : RunOutcome::Failed);
    EXPECT_EQ(CellsOf(a.page()).size(), 1u) << abort;
    EXPECT_EQ(a.page().back().rfind(abort ? "</HTML>" : "  <TD align", 0), 0u) << abort;
    EXPECT_EQ(a.show().back(), abort ? "</HTML>" : "imagy[1]=\"40\";") << abort;
    EXPECT_EQ(HiddenNames(a.dir.path()), std::vector<std::string>{}) << abort;
  }
}

TEST(AlbumRun, BadNumericSettingEndsTheRunNamingTheField) {
  for (const char* field : {"thumbnailWidth", "thumbnailQuality", "titleFontColor"}) {
    Album a;
    ASSERT_EQ(SetSettingText(a.settings, field, "1O0"), SettingTextResult::Set);
    a.add("a.jpg", 50, 40);
    EXPECT_EQ(a.run(), RunOutcome::Failed) << field;
    ASSERT_EQ(a.host.messages.size(), 1u);
    EXPECT_NE(a.host.messages[0].find(field), std::string::npos);
    EXPECT_EQ(a.host.endings, std::vector<bool>{true});
  }
  // Found before anything is written: no page is left cut short.
  for (const char* field : {"thumbnailWidth", "slideShowMaxY"}) {
    Album a;
    a.settings.makeSlideShow = "on";
    a.settings.slideShowLimit = "on";
    ASSERT_EQ(SetSettingText(a.settings, field, "abc"), SettingTextResult::Set);
    a.add("a.jpg", 50, 40);
    EXPECT_EQ(a.run(), RunOutcome::Failed) << field;
    EXPECT_EQ(ListDir(a.dir.path()), std::vector<std::string>{"a.jpg"}) << field;
  }

  // The same check, asked before a run (a batch asks it once for all folders).
  AlbumSettings s;
  EXPECT_EQ(Rendered(AlbumRunSettingsProblem(s)), "");
  s.thumbnailHeight = "x";
  EXPECT_EQ(AlbumRunSettingsProblem(s), BadSettingText("thumbnailHeight", "x"));
  s.thumbnailHeight = "-1";
  EXPECT_EQ(AlbumRunSettingsProblem(s), SettingOutOfRangeText("thumbnailHeight", "-1", 1));

  // A number the run cannot use is not called a bad integer.
  for (const char* value : {"0", "-110"}) {
    Album a;
    a.settings.thumbnailWidth = value;
    a.add("a.jpg", 50, 40);
    EXPECT_EQ(a.run(), RunOutcome::Failed);
    ASSERT_EQ(a.host.messages.size(), 1u);
    EXPECT_EQ(a.host.messages[0], SettingOutOfRangeText("thumbnailWidth", value, 1));
    EXPECT_EQ(a.host.messages[0].find("正しい整数ではありません"), std::string::npos);
  }
}

// The run enforces the per-row control's range itself: 0 once divided by zero.
TEST(AlbumRun, PerRowOutsideOneToTenIsRefusedBeforeAnythingIsWritten) {
  for (int perRow : {0, -3, 11}) {
    Album a;
    a.perRow = perRow;
    a.add("a.jpg", 50, 40);
    EXPECT_EQ(a.run(), RunOutcome::Failed) << perRow;
    ASSERT_EQ(a.host.messages.size(), 1u);
    EXPECT_EQ(a.host.messages[0], SettingOutOfRangeText("picturesPerRow", std::to_string(perRow), 1, 10));
    EXPECT_EQ(ListDir(a.dir.path()), std::vector<std::string>{"a.jpg"});
  }
}

// Whatever the picture's shape and the path taken, the page's cell gives
// the written file's size: exactly on the plain path, and on the filter
// path the rounded display size of a file cut to whole pixels (one less at
// most). Slivers keep one pixel on both.
TEST(AlbumRun, PageSizesFollowTheThumbnailFiles) {
  unsigned seed = 12345;
  auto next = [&seed](int lo, int hi) {
    seed = seed * 1103515245u + 12345u;
    return lo + static_cast<int>((seed >> 8) % static_cast<unsigned>(hi - lo + 1));
  };
  std::vector<std::pair<int, int>> sizes = {{1, 5000}, {5000, 1}, {1, 1}, {2, 3000}, {3000, 2}, {111, 50}, {65, 156}};
  for (int i = 0; i < 25; ++i) sizes.push_back({next(1, 900), next(1, 900)});
  for (bool filter : {false, true}) {
    Album a;
    a.settings.thumbnailFilter = filter ? "on" : "off";
    for (size_t i = 0; i < sizes.size(); ++i) a.add("p" + std::to_string(i) + ".jpg", sizes[i].first, sizes[i].second);
    ASSERT_EQ(a.run(), RunOutcome::Completed);
    const auto cells = CellsOf(a.page());
    ASSERT_EQ(cells.size(), sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
      const std::string name = "p" + std::to_string(i) + ".jpg";
      const JpegInfo t = a.thumb(name);
      const DisplaySize ds = ThumbnailDisplaySize(sizes[i].first, sizes[i].second, 110, 150);
      const std::string what = name + " " + std::to_string(sizes[i].first) + "x" + std::to_string(sizes[i].second);
      EXPECT_NE(cells[i].find("height=\"" + std::to_string(ds.height) + "\" width=\"" + std::to_string(ds.width) + "\""),
                std::string::npos)
          << what << cells[i];
      EXPECT_GE(ds.width, 1) << what;
      EXPECT_GE(ds.height, 1) << what;
      const bool filtered = filter && (sizes[i].first > 110 || sizes[i].second > 150);
      if (filtered) {
        EXPECT_LE(ds.width - t.width, 1) << what;
        EXPECT_LE(ds.height - t.height, 1) << what;
        EXPECT_GE(ds.width - t.width, 0) << what;
        EXPECT_GE(ds.height - t.height, 0) << what;
      } else {
        EXPECT_EQ(t.width, ds.width) << what;
        EXPECT_EQ(t.height, ds.height) << what;
      }
    }
  }
}

TEST(AlbumRun, FileNamesWithMarkupCharacters) {
  Album a;
  a.add("a&b #1.jpg", 50, 40);
  a.add("写真です.jpg", 50, 40);
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  const auto cells = CellsOf(a.page());
  EXPECT_NE(cells[0].find("href=\"a&amp;b %231.jpg\""), std::string::npos);
  EXPECT_NE(cells[1].find("ALT=\"写真です\""), std::string::npos);
  EXPECT_TRUE(PathExists(a.dir.file("htm_image/a&b #1.jpg")));
}

// Thumbnails are made ahead on worker threads; the files, the steps shown and
// their order are those of making each thumbnail at its turn.
TEST(AlbumRun, ThumbnailsMadeAheadMatchTheStraightforwardWay) {
  for (const char* filter : {"off", "on"}) {
    Album a;
    a.settings.thumbnailFilter = filter;
    a.add("1.jpg", 640, 480);
    a.add("2.jpg", 300, 500, {false, 90, 6});
    a.add("3.jpg", 60, 40);
    a.add("4.jpg", 333, 222, {true, 90, 1});
    a.add("5.jpg", 500, 200, {false, 90, 1, 1, 1, true});
    a.list[3].selected = false;
    ASSERT_EQ(a.run(), RunOutcome::Completed);
    ThumbnailJob job;
    job.filter = std::string(filter) == "on";
    std::vector<std::string> want = {"2:0000/0000   ", "1:画像読込中"};
    std::vector<std::pair<int, int>> previews;
    int n = 0;
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "5.jpg"}) {
      StreamedThumbnail made;
      std::string bytes;
      ASSERT_TRUE(Succeeded(MakeThumbnailFull(a.dir.file(name), job, made)));
      ASSERT_TRUE(Succeeded(EncodeJpeg(made.thumbnail, 80, bytes)));
      EXPECT_TRUE(ReadAll(a.dir.file(std::string("htm_image/") + name)) == bytes) << name << " filter " << filter;
      want.push_back("2:000" + std::to_string(++n) + "/0004   ");
      want.push_back(std::string("0:") + name);
      want.push_back(made.path == ThumbnailPath::Filter ? "0:フィルター処理" : "0:通常圧縮");
      previews.push_back({made.thumbnail.width, made.thumbnail.height});
    }
    for (int p = 0; p < 3; ++p) want.push_back(std::to_string(p) + ":");
    EXPECT_EQ(a.host.statusLog, want);
    EXPECT_EQ(a.host.previews, previews);
    EXPECT_FALSE(PathExists(a.dir.file("htm_image/4.jpg")));
  }
}

TEST(AlbumRun, NoThumbnailAfterTheAbortPoint) {
  Album a;
  for (int i = 1; i <= 8; ++i) a.add(std::to_string(i) + ".jpg", 400, 300);
  a.host.abortAfterEvents = 2;
  ASSERT_EQ(a.run(), RunOutcome::Aborted);
  EXPECT_EQ(ListDir(a.dir.file("htm_image")), (std::vector<std::string>{"1.jpg", "2.jpg"}));
}

// A later picture that tests for or reads a thumbnail written before it sees
// the file, as it would one picture at a time.
TEST(AlbumRun, LaterPictureSeesTheThumbnailWrittenBeforeIt) {
  Album a;
  a.settings.skipExistingThumbnails = "on";
  a.add("a.jpg", 400, 300);
  a.list.push_back({"a.jpg", true});
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  const auto& log = a.host.statusLog;
  EXPECT_EQ(std::count(log.begin(), log.end(), "0:通常圧縮"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "0:ファイル作成スキップ"), 1);

  // Thumbnails in the album folder itself, where "s_a.jpg" would first be a
  // thumbnail and then a picture of the list: the folder name "." is refused
  // before anything is written, so a thumbnail never lands among the pictures.
  Album b;
  b.settings.thumbnailFolderName = ".";
  b.settings.thumbnailPrefix = "s_";
  b.add("a.jpg", 400, 300);
  b.list.push_back({"s_a.jpg", true});
  EXPECT_EQ(b.run(), RunOutcome::Failed);
  ASSERT_EQ(b.host.messages.size(), 1u);
  EXPECT_NE(b.host.messages[0].find("thumbnailFolderName"), std::string::npos);
  EXPECT_FALSE(PathExists(b.dir.file("s_a.jpg")));
}

}  // namespace
}  // namespace pictavo

namespace pictavo {
namespace {

// The run writes each thumbnail under the name its page refers to, also
// with a prefix that the page must escape.
TEST(AlbumRun, ThePageFindsEveryThumbnailUnderItsPrefixedName) {
  Album a;
  a.settings.thumbnailPrefix = "t #%&";
  a.add("a b.jpg", 50, 40);
  a.add("c.jpg", 40, 50);
  ASSERT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(ListDir(a.dir.file("htm_image")), (std::vector<std::string>{"t #%&a b.jpg", "t #%&c.jpg"}));
  EXPECT_EQ(a.page()[2], "<!-- FILE=002 t #%&a b.jpg -->");
  const SiteCheckResult check = CheckSite(a.dir.path(), {});
  ASSERT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.pages, 1u);
  for (const Finding& f : check.findings) ADD_FAILURE() << f.page << ":" << f.line << " " << f.text;
}

}  // namespace
}  // namespace pictavo
