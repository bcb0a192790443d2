#include <gtest/gtest.h>

#include "batch/batch_run.h"
#include "fixtures.h"
#include "platform/paths.h"
#include "session/session.h"
#include "settings/album_settings.h"
#include "test_util.h"
#include "text/chars.h"
#include "toc_test_util.h"

namespace pictavo {
namespace {

// The main window as core drives it, except that an album is "made" by
// writing a page head that names the selected pictures: the folder moves,
// listings and selections are the real ones.
class RecordingDriver : public SessionAlbumDriver {
 public:
  RecordingDriver(Session& session, AlbumRunHost& host, SettingsWindow& window)
      : SessionAlbumDriver(session, host, window, CivilDate{2026, 12, 8}) {}
  RunOutcome runAlbum() override {
    const MainValues& main = session().main;
    std::string selected;
    for (const auto& p : session().pictures) {
      if (p.selected) selected += (selected.empty() ? "" : ",") + p.name;
    }
    runs.push_back(main.albumTitle + ":" + selected + (main.batchRunning ? "" : " (batchRunning off)"));
    WriteAlbumPage(main.currentFolder, main.albumTitle, "001", "p.jpg");
    return RunOutcome::Completed;
  }
  std::vector<std::string> runs;
};

struct BatchFixture : ::testing::Test {
  BatchFixture() : driver(session, albumHost, window) {
    ResetSettings(settings);
    toc.tocFolder = dir.path();
    toc.tocTitle = "Trips";
  }
  void folder(const std::string& name, std::initializer_list<const char*> files) {
    ::mkdir(dir.file(name).c_str(), 0777);
    for (const char* f : files) WriteAll(dir.file(name) + "/" + f, "");
  }
  BatchOutcome run(int targets) {
    BatchJob job{toc, settings, main, driver, host, CivilDate{2026, 12, 8}};
    report = RunBatch(job, targets);
    return report.outcome;
  }
  BatchReport report;

  TempDir dir;
  Session session;
  AlbumSettings& settings = session.settings;
  MainValues& main = session.main;
  TocOptions toc;
  TocRecordingHost host;
  RecordingHost albumHost;
  RecordingWindow window;
  RecordingDriver driver;
};

TEST(Batch, TargetNeedsASelectedPictureOtherThanBackJpg) {
  EXPECT_FALSE(IsBatchTarget({}));
  EXPECT_FALSE(IsBatchTarget({{"back.jpg", true}, {"a.jpg", false}}));
  EXPECT_TRUE(IsBatchTarget({{"back.jpg", true}, {"Back.JPG", true}}));
  EXPECT_EQ(BatchProgressText(1, 5), "00001/00005");
  EXPECT_EQ(BatchProgressText(123456, 5), "23456/00005");
}

TEST_F(BatchFixture, CountsAndMakesOnlyTheTargetFolders) {
  folder("a-back", {"back.jpg"});
  folder("b-mixed", {"Back.JPG", "x.jpg", "back.jpg", "notes.txt"});
  folder("c-empty", {});
  folder("D-pics", {"y.JPG"});
  ASSERT_EQ(CountBatchTargets(toc, driver, host), 2);
  EXPECT_EQ(main.currentFolder, dir.file("D-pics"));  // left on the last candidate

  host.answer = true;
  settings.noBrowserPrompt = "on";  // the batch asks anyway
  ASSERT_EQ(run(2), BatchOutcome::Finished);
  EXPECT_EQ(driver.runs, (std::vector<std::string>{"b-mixed:Back.JPG,x.jpg", "D-pics:y.JPG"}));
  EXPECT_FALSE(main.batchRunning);
  EXPECT_EQ(host.events, (std::vector<std::string>{"begin", "00000/00002", "00001/00002", "folder b-mixed", "step",
                                                   "00002/00002", "folder D-pics", "step", "toc", "end"}));
  // The table of contents links the two albums and asks nothing itself.
  const auto page = ReadCp932Lines(dir.file("index.htm"));
  ASSERT_GT(page.size(), 30u);
  EXPECT_EQ(page[2], "<!-- FILE=002 -->");
  EXPECT_EQ(page[26], "<TD align=\"center\"><A href=\"b-mixed/index.htm\">b-mixed</A></TD>");
  EXPECT_EQ(page[31], "<TD align=\"center\"><A href=\"D-pics/index.htm\">D-pics</A></TD>");
  EXPECT_EQ(host.questions, std::vector<std::string>{"Pictavo: 　　　　ファイル作成終了　　　　\rブラウザを起動しますか？"});
  EXPECT_EQ(host.opened, std::vector<std::string>{"associated " + dir.file("index.htm")});
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(BatchFixture, AbortBetweenFoldersWritesNoTableOfContents) {
  for (const char* name : {"f1", "f2", "f3", "f4", "f5"}) folder(name, {"p.jpg"});
  ASSERT_EQ(CountBatchTargets(toc, driver, host), 5);
  host.abortAtRound = 2;
  ASSERT_EQ(run(5), BatchOutcome::Aborted);
  EXPECT_EQ(driver.runs, (std::vector<std::string>{"f1:p.jpg", "f2:p.jpg"}));
  EXPECT_EQ(host.messages, std::vector<std::string>{"処理は中断されました"});
  EXPECT_FALSE(PathExists(dir.file("index.htm")));
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(host.events.back(), "end");
}

// The page the question would open was not written: nothing is asked or opened.
TEST_F(BatchFixture, TableOfContentsThatStopsGetsNoQuestion) {
  folder("a", {"p.jpg"});
  toc.useBackgroundPicture = true;
  toc.backgroundPicturePath = dir.file("a/p.jpg");
  WriteAll(dir.file("p.jpg"), "already here");
  host.answer = true;
  ASSERT_EQ(run(1), BatchOutcome::Finished);
  EXPECT_EQ(host.messages, std::vector<std::string>{"背景ファイルコピーに失敗しました。\r処理は中断されました。"});
  EXPECT_TRUE(host.questions.empty());
  EXPECT_TRUE(host.opened.empty());
  EXPECT_FALSE(PathExists(dir.file("index.htm")));
  // The table-of-contents window was back before its message.
  EXPECT_EQ(host.events.end()[-2], "toc");
  EXPECT_EQ(report.tableOfContents, TocOutcome::Stopped);
  EXPECT_FALSE(report.allWritten());
}

TEST_F(BatchFixture, OpeningChecks) {
  toc.tocTitle = "";
  EXPECT_EQ(CountBatchTargets(toc, driver, host), 0);
  toc.tocTitle = "T";
  toc.useBackgroundPicture = true;
  EXPECT_EQ(CountBatchTargets(toc, driver, host), 0);
  toc.useBackgroundPicture = false;
  EXPECT_EQ(CountBatchTargets(toc, driver, host), 0);
  folder("only-back", {"back.jpg"});
  folder("empty", {});
  EXPECT_EQ(CountBatchTargets(toc, driver, host), 0);
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{"目次のタイトルが指定されていません。", "背景の画像ファイルが指定されていません。",
                                      "ファルダがありません。", "対象のファルダがありません。"}));
  EXPECT_TRUE(driver.runs.empty());
}

// The core's own driver end to end: real albums in two folders, each made
// with the run's full duties, then the table of contents over them.
TEST_F(BatchFixture, CoreDriverMakesRealAlbums) {
  for (const char* name : {"autumn", "spring"}) {
    ::mkdir(dir.file(name).c_str(), 0777);
    MakeJpeg(dir.file(name) + "/p1.jpg", 320, 200);
    MakeJpeg(dir.file(name) + "/p2.jpg", 200, 320);
  }
  session.perRow = 3;
  SessionAlbumDriver real(session, albumHost, window, CivilDate{2026, 12, 8});
  ASSERT_EQ(CountBatchTargets(toc, real, host), 2);
  BatchJob job{toc, settings, main, real, host, CivilDate{2026, 12, 8}};
  const BatchReport done = RunBatch(job, 2);
  ASSERT_EQ(done.outcome, BatchOutcome::Finished);
  EXPECT_EQ(done.albums, (std::vector<std::pair<std::string, RunOutcome>>{{"autumn", RunOutcome::Completed},
                                                                          {"spring", RunOutcome::Completed}}));
  EXPECT_TRUE(done.allWritten());
  for (const char* name : {"autumn", "spring"}) {
    const auto page = ReadCp932Lines(dir.file(name) + "/index.htm");
    ASSERT_GT(page.size(), 7u) << name;
    EXPECT_EQ(page[2], "<!-- FILE=002 p1.jpg -->");
    EXPECT_TRUE(PathExists(dir.file(name) + "/htm_image/p2.jpg"));
  }
  EXPECT_EQ(main.currentFolder, dir.file("spring"));
  EXPECT_EQ(main.albumTitle, "spring");
  EXPECT_EQ(settings.picturesPerRow, 3);  // the run writes the control's count back
  EXPECT_TRUE(albumHost.messages.empty());
  EXPECT_TRUE(albumHost.questions.empty());  // batchRunning silences each album's question
  EXPECT_TRUE(PathExists(dir.file("index.htm")));
}

}  // namespace
}  // namespace pictavo
