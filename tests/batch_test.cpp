#include <gtest/gtest.h>

#include "batch/batch_run.h"
#include "platform/paths.h"
#include "settings/album_settings.h"
#include "test_util.h"
#include "text/chars.h"
#include "toc_test_util.h"

namespace pictavo {
namespace {

// Stands in for the main window: lists real folders, and "makes" an album by
// writing a page head that names the selected pictures.
class FakeDriver : public AlbumDriver {
 public:
  explicit FakeDriver(MainValues& main) : m_main(main) {}
  void moveToFolder(const std::string& folder) override {
    m_main.currentFolder = folder;
    m_main.albumTitle = LastComponent(folder);
  }
  const std::vector<PictureEntry>& listPictures() override {
    m_list.clear();
    for (const auto& name : ListFiles(m_main.currentFolder).names) {
      if (LowerAscii(Extension(name)) == ".jpg") m_list.push_back({name, true});
    }
    return m_list;
  }
  void deselect(const std::string& name) override {
    for (auto& p : m_list) {
      if (p.name == name) p.selected = false;
    }
  }
  RunOutcome runAlbum() override {
    std::string selected;
    for (const auto& p : m_list) {
      if (p.selected) selected += (selected.empty() ? "" : ",") + p.name;
    }
    runs.push_back(m_main.albumTitle + ":" + selected + (m_main.batchRunning ? "" : " (batchRunning off)"));
    WriteAlbumPage(m_main.currentFolder, m_main.albumTitle, "001", "p.jpg");
    return RunOutcome::Completed;
  }
  std::vector<std::string> runs;

 private:
  MainValues& m_main;
  std::vector<PictureEntry> m_list;
};

struct BatchFixture : ::testing::Test {
  BatchFixture() : driver(main) {
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
    return RunBatch(job, targets);
  }

  TempDir dir;
  AlbumSettings settings;
  MainValues main;
  TocOptions toc;
  TocRecordingHost host;
  FakeDriver driver;
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
                                                   "00002/00002", "folder D-pics", "step", "end"}));
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

TEST_F(BatchFixture, TableOfContentsThatStopsStillGetsTheQuestion) {
  folder("a", {"p.jpg"});
  toc.useBackgroundPicture = true;
  toc.backgroundPicturePath = dir.file("a/p.jpg");
  WriteAll(dir.file("p.jpg"), "already here");
  ASSERT_EQ(run(1), BatchOutcome::Finished);
  EXPECT_EQ(host.messages, std::vector<std::string>{"背景ファイルコピーに失敗しました。\r処理は中断されました。"});
  EXPECT_EQ(host.questions.size(), 1u);
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

}  // namespace
}  // namespace pictavo
