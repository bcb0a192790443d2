// The small rules every window and command shares: which folder is shown,
// what the desktop starts for a page or a picture, and when the names a
// listing passed over are reported.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "fixtures.h"
#include "platform/paths.h"
#include "session/session.h"
#include "settings/openers.h"
#include "test_util.h"

namespace pictavo {
namespace {

// Sets HOME for one test and puts the old value back.
class HomeVariable {
 public:
  explicit HomeVariable(const char* value) {
    if (const char* old = std::getenv("HOME")) m_old = old;
    if (value) {
      ::setenv("HOME", value, 1);
    } else {
      ::unsetenv("HOME");
    }
  }
  ~HomeVariable() {
    if (m_old) {
      ::setenv("HOME", m_old->c_str(), 1);
    } else {
      ::unsetenv("HOME");
    }
  }

 private:
  std::optional<std::string> m_old;
};

TEST(FolderRules, AFolderThatCannotBeShownGivesWayToTheHomeFolder) {
  TempDir dir;
  const std::string home = dir.file("home");
  const std::string pictures = dir.file("pictures");
  ASSERT_TRUE(MakeFolders(home) && MakeFolders(pictures));
  WriteAll(dir.file("pictures/a.jpg"), "x");
  HomeVariable variable(home.c_str());

  EXPECT_EQ(FolderToShow(pictures), pictures);
  EXPECT_EQ(FolderToShow(pictures + "/../pictures/"), pictures);
  EXPECT_EQ(FolderToShow(dir.file("missing")), home);
  EXPECT_EQ(FolderToShow(dir.file("pictures/a.jpg")), home);  // a file is no folder to show
  EXPECT_EQ(FolderToShow(""), home);
  if (::geteuid() != 0) {  // root lists any folder
    const std::string closed = dir.file("closed");
    ASSERT_TRUE(MakeFolders(closed));
    ASSERT_EQ(::chmod(closed.c_str(), 0), 0);
    EXPECT_EQ(FolderToShow(closed), home);
    ::chmod(closed.c_str(), 0700);
  }
}

TEST(FolderRules, TheHomeFolderIsTheRootWhenHomeIsNoFolder) {
  TempDir dir;
  {
    HomeVariable variable(dir.file("gone").c_str());
    EXPECT_EQ(HomeFolder(), "/");
    EXPECT_EQ(FolderToShow(dir.file("missing")), "/");
  }
  {
    HomeVariable variable(nullptr);
    EXPECT_EQ(HomeFolder(), "/");
  }
  {
    HomeVariable variable("");
    EXPECT_EQ(HomeFolder(), "/");
  }
  {
    HomeVariable variable((dir.path() + "/").c_str());
    EXPECT_EQ(HomeFolder(), dir.path());  // the same spelling as the folders it is compared with
  }
}

TEST(FolderRules, TheStartFolderPrefersTheCommandLineThenTheSetting) {
  TempDir dir;
  const std::string home = dir.file("home");
  const std::string start = dir.file("start");
  ASSERT_TRUE(MakeFolders(home) && MakeFolders(start));
  WriteAll(dir.file("start/p.jpg"), "x");
  HomeVariable variable(home.c_str());

  EXPECT_EQ(StartFolder(start, ""), start);
  EXPECT_EQ(StartFolder(dir.file("missing"), ""), home);
  EXPECT_EQ(StartFolder("", ""), home);
  // The command line wins; a file opens its folder, a missing path is asked
  // for as it is (the window's FolderToShow then falls back).
  EXPECT_EQ(StartFolder(dir.file("missing"), dir.file("start/p.jpg")), start);
  EXPECT_EQ(StartFolder(home, start), start);
  EXPECT_EQ(StartFolder(start, dir.file("nowhere")), dir.file("nowhere"));
  EXPECT_EQ(FolderToShow(StartFolder(start, dir.file("nowhere"))), home);
}

TEST(Openers, PagesGoToTheBrowserAndPicturesToTheViewerOrTheDesktop) {
  AlbumSettings s;
  ResetSettings(s);
  s.htmlFileName = "index.htm";
  const std::string folder = "/photos/trip/";

  // No browser: the desktop opens the page by its path.
  RecordingHost host;
  Open(host, PageOpening(s, folder));
  s.browserPath = "/usr/bin/browser";
  Open(host, PageOpening(s, folder));
  EXPECT_EQ(host.opened, (std::vector<std::string>{"|/photos/trip/index.htm",
                                                   "/usr/bin/browser|/photos/trip/index.htm|/photos/trip/"}));

  // The viewer takes JPEG pictures in any letter case, by their bare name
  // in their folder; other files and a missing viewer go to the desktop.
  host.opened.clear();
  Open(host, PictureOpening(s, folder, "a.jpg"));
  s.externalViewerPath = "/usr/bin/viewer";
  for (const char* name : {"b.jpg", "C.JPG", "d.jpeg", "e.png", "jpg"}) Open(host, PictureOpening(s, folder, name));
  EXPECT_EQ(host.opened, (std::vector<std::string>{"|/photos/trip/a.jpg", "/usr/bin/viewer|b.jpg|/photos/trip/",
                                                   "/usr/bin/viewer|C.JPG|/photos/trip/", "|/photos/trip/d.jpeg",
                                                   "|/photos/trip/e.png", "|/photos/trip/jpg"}));
}

TEST(PassedOverNames, ReportedOnceForAListingAndOnlyWhenThereAreSome) {
  TempDir dir;
  WriteAll(dir.file("a.jpg"), "x");
  RecordingHost host;
  ReportPassedOverNames(host, dir.path(), 0);
  EXPECT_TRUE(host.passedOver.empty());

  // The batch's listing of a folder: two names that are not UTF-8, one report.
  Session session;
  RecordingWindow window;
  SessionAlbumDriver driver(session, host, window, CivilDate{2026, 12, 8});
  driver.moveToFolder(dir.path());
  EXPECT_EQ(driver.listPictures().size(), 1u);
  EXPECT_TRUE(host.passedOver.empty());
  WriteAll(dir.file("\xff.jpg"), "x");
  WriteAll(dir.file("b\xfe.jpg"), "x");
  EXPECT_EQ(driver.listPictures().size(), 1u);
  EXPECT_EQ(host.passedOver, std::vector<std::string>{dir.path() + "|2"});
  EXPECT_TRUE(host.notes.empty());
}

}  // namespace
}  // namespace pictavo
