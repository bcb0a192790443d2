// The program flow every front end shares: start-up, entering a folder and
// the folder's picture list.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fixtures.h"
#include "platform/paths.h"
#include "session/session.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

std::vector<std::string> Names(const std::vector<PictureEntry>& list) {
  std::vector<std::string> names;
  for (const auto& p : list) names.push_back(p.name + (p.selected ? "" : " (off)"));
  return names;
}

TEST(Session, StartUpMakesTheProgramFolderAndReadsItsSettings) {
  TempDir dir;
  Session session;
  RecordingWindow window;
  const std::string home = dir.file("home");
  StartUpReport report = StartUp(session, {home, ""}, window);
  EXPECT_FALSE(report.programFolderError);
  EXPECT_FALSE(report.settingsFileError);
  EXPECT_TRUE(FolderExists(home + "/inifile"));
  EXPECT_EQ(session.main.programFolder, home);
  EXPECT_EQ(session.settings.thumbnailWidth, "110");
  EXPECT_EQ(session.perRow, 5);

  // A PCV.ini with another per-row count: the record and the control follow.
  session.settings.picturesPerRow = 7;
  session.settings.thumbnailWidth = "200";
  SettingsLines lines{};
  FillSettingsLines(session.settings, session.main.programVersion, lines);
  ASSERT_TRUE(Succeeded(WriteSettingsFile(home + "/PCV.ini", lines)));
  Session again;
  report = StartUp(again, {home, ""}, window);
  EXPECT_EQ(report.reading.path, home + "/PCV.ini");
  EXPECT_EQ(again.settings.thumbnailWidth, "200");
  EXPECT_EQ(again.perRow, 7);
  EXPECT_EQ(window.perRow, 7);

  // A stored count the control cannot hold is clamped in the control.
  again.settings.picturesPerRow = 0;
  FillSettingsLines(again.settings, again.main.programVersion, lines);
  ASSERT_TRUE(Succeeded(WriteSettingsFile(home + "/PCV.ini", lines)));
  Session third;
  (void)StartUp(third, {home, ""}, window);
  EXPECT_EQ(third.perRow, 1);

  // A named settings file that is missing is an error; the defaults stay.
  Session missing;
  report = StartUp(missing, {home, dir.file("none.ini")}, window);
  ASSERT_TRUE(report.settingsFileError);
  EXPECT_EQ(report.settingsFileError->code, ErrorCode::NotFound);
  EXPECT_EQ(missing.settings.thumbnailWidth, "110");
}

TEST(Session, EnteringAFolderSetsTheTitleAndLooksForItsSettings) {
  TempDir dir;
  Session session;
  RecordingWindow window;
  (void)StartUp(session, {dir.file("home"), ""}, window);
  ASSERT_TRUE(MakeFolders(dir.file("photos/京都")));
  EXPECT_FALSE(EnterFolder(session, dir.file("photos/京都"), window));
  EXPECT_EQ(session.main.currentFolder, dir.file("photos/京都"));
  EXPECT_EQ(session.main.albumTitle, "京都");
  EXPECT_EQ(window.button9, false);

  // The auto-saved file of the folder's name in inifile/ is found.
  SettingsLines lines{};
  FillSettingsLines(session.settings, session.main.programVersion, lines);
  ASSERT_TRUE(Succeeded(WriteSettingsFile(dir.file("home/inifile/京都.ini"), lines)));
  EXPECT_TRUE(EnterFolder(session, dir.file("photos/京都"), window));
  EXPECT_EQ(session.main.folderSettingsPath, dir.file("home/inifile/京都.ini"));
  EXPECT_EQ(window.button9, true);
}

TEST(Session, FolderPicturesAreTheJpgFilesInNameOrder) {
  TempDir dir;
  for (const char* name : {"b.JPG", "a.jpg", "c.jpeg", "d.txt", "B.jpg", ".hidden.jpg"}) WriteAll(dir.file(name), "");
  ASSERT_EQ(::mkdir(dir.file("folder.jpg").c_str(), 0777), 0);
  FolderPictureList list = FolderPictures(dir.path());
  EXPECT_TRUE(list.ok);
  EXPECT_EQ(Names(list.pictures), (std::vector<std::string>{"a.jpg", "B.jpg", "b.JPG"}));
  EXPECT_EQ(Names(FolderPictures(dir.path(), ".txt").pictures), std::vector<std::string>{"d.txt"});
  list = FolderPictures(dir.file("gone"));
  EXPECT_FALSE(list.ok);
  EXPECT_TRUE(list.pictures.empty());
}

TEST(Session, ClampPicturesPerRowKeepsTheControlsRange) {
  EXPECT_EQ(ClampPicturesPerRow(0), 1);
  EXPECT_EQ(ClampPicturesPerRow(5), 5);
  EXPECT_EQ(ClampPicturesPerRow(32767), 10);
}

}  // namespace
}  // namespace pictavo
