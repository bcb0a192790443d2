// A kill at any instant loses nothing: the commands that replace files the
// user owns (rotation's save, a settings save, a comment save, a BMP
// conversion, the album pages of an album run and of a batch) run as
// pictavo-cli in a child process that is killed (SIGKILL) at many points of
// its run. Each file must then be the old one or the new one, byte for byte,
// and a run after the kill must end as a run without one, with no temporary
// file of the killed run left anywhere in the folder.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "cli_fixtures.h"
#include "fixtures.h"
#include "platform/paths.h"
#include "test_util.h"

extern char** environ;

namespace pictavo {
namespace {

using Clock = std::chrono::steady_clock;

// A 24-bit BMP of the pattern picture.
std::string Bmp(int w, int h) {
  const Bitmap p = PatternPicture(w, h, 3);
  const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  const uint32_t size = static_cast<uint32_t>(54 + stride * h);
  std::string b(54, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = 24;
  for (int y = h - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < w; ++x) {
      const uint8_t* px = p.row(y) + x * 3;
      row[x * 3] = static_cast<char>(px[2]);
      row[x * 3 + 1] = static_cast<char>(px[1]);
      row[x * 3 + 2] = static_cast<char>(px[0]);
    }
    b += row;
  }
  return b;
}

struct Command {
  const char* name;
  std::vector<std::string> args;         // FOLDER is replaced by the folder
  std::vector<std::string> watched;      // files that must be old or new
  std::function<void(const std::string& folder)> prepare;
  int points = 24;                       // kills, the last few after the run's end
};

std::vector<std::string> WithFolder(std::vector<std::string> args, const std::string& folder) {
  for (auto& a : args) {
    if (a == "FOLDER") a = folder;
    if (a == "FILE") a = folder + "/mine.ini";
  }
  return args;
}

// Reads every watched file; a missing one reads as "(missing)".
std::vector<std::string> Snapshot(const std::string& folder, const std::vector<std::string>& watched) {
  std::vector<std::string> out;
  for (const auto& name : watched) {
    const std::string path = folder + "/" + name;
    out.push_back(FileExists(path) ? ReadAll(path) : "(missing)");
  }
  return out;
}

// Hidden entries anywhere below the folder: the prepared folders have none,
// so any is a temporary file a run left.
std::vector<std::string> Hidden(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& name : HiddenNames(folder)) out.push_back(folder + "/" + name);
  for (const auto& name : ListDir(folder)) {
    const std::string path = folder + "/" + name;
    if (FolderExists(path)) {
      for (auto& inner : Hidden(path)) out.push_back(std::move(inner));
    }
  }
  return out;
}

// Visible entries of the folder: what a later listing would see.
std::vector<std::string> Visible(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& name : ListDir(folder)) {
    if (name[0] != '.') out.push_back(name);
  }
  return out;
}

void KillAtManyPoints(const Command& c) {
  SCOPED_TRACE(c.name);
  TempDir root;
  const std::string home = root.file("home");
  MakeFolders(home);

  // The run without a kill, timed, gives the new files.
  const std::string reference = root.file("reference");
  MakeFolders(reference);
  c.prepare(reference);
  const auto old = Snapshot(reference, c.watched);
  const auto t0 = Clock::now();
  ASSERT_EQ(WaitCli(StartCli(WithFolder(c.args, reference), home)), 0);
  const auto duration = Clock::now() - t0;
  const auto fresh = Snapshot(reference, c.watched);
  const auto visible = Visible(reference);
  for (size_t i = 0; i < old.size(); ++i) ASSERT_NE(old[i], fresh[i]) << c.watched[i];

  const int kPoints = c.points;
  int sawOld = 0, sawNew = 0;
  for (int k = 0; k < kPoints; ++k) {
    const std::string folder = root.file("run" + std::to_string(k));
    MakeFolders(folder);
    c.prepare(folder);
    const pid_t pid = StartCli(WithFolder(c.args, folder), home);
    // Points spread over the whole run, then a few well beyond it, so that
    // some kills come after the replacement even on a busy machine.
    constexpr int kAfter = 4;
    std::this_thread::sleep_for(k < kPoints - kAfter ? duration * k / (kPoints - kAfter)
                                                     : duration * (k - (kPoints - kAfter) + 3) / 2);
    // The last point lets the run end: a machine busy enough to slow every
    // other run past its kill still sees the new files once.
    if (k < kPoints - 1) ::kill(pid, SIGKILL);
    WaitCli(pid);
    const auto now = Snapshot(folder, c.watched);
    for (size_t i = 0; i < now.size(); ++i) {
      EXPECT_TRUE(now[i] == old[i] || now[i] == fresh[i]) << c.watched[i] << " after a kill at point " << k;
      (now[i] == old[i] ? sawOld : sawNew)++;
    }
    // The next run is not confused by what the kill left: where the old
    // files remain it makes the new ones, and nothing left over shows.
    if (now == old) {
      ASSERT_EQ(WaitCli(StartCli(WithFolder(c.args, folder), home)), 0) << "after a kill at point " << k;
      EXPECT_EQ(Snapshot(folder, c.watched), fresh) << "after a kill at point " << k;
      EXPECT_EQ(Hidden(folder), std::vector<std::string>{}) << "after a kill at point " << k;
    }
    EXPECT_EQ(Visible(folder), visible) << "after a kill at point " << k;
  }
  // The points reached both sides of the replacement.
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);
}

TEST(KillAtAnyInstant, RotationSave) {
  KillAtManyPoints({"rotate",
                    {"rotate", "FOLDER", "--right", "--set", "rotationBackup=off"},
                    {"a.jpg", "b.jpg"},
                    [](const std::string& folder) {
                      MakeJpeg(folder + "/a.jpg", 1200, 900);
                      MakeJpeg(folder + "/b.jpg", 900, 1200);
                    }});
}

TEST(KillAtAnyInstant, RotationSaveWithBackup) {
  // The backup is complete before the picture is replaced: a kill leaves
  // either no backup or the whole first version.
  KillAtManyPoints({"rotate with backup",
                    {"rotate", "FOLDER", "--right", "--set", "rotationBackup=on"},
                    {"a.jpg", "_backup/a.jpg"},
                    [](const std::string& folder) { MakeJpeg(folder + "/a.jpg", 1600, 1200); }});
}

TEST(KillAtAnyInstant, SettingsSave) {
  KillAtManyPoints({"settings save",
                    {"settings", "save", "FILE", "--set", "titleFontSize=3"},
                    {"mine.ini"},
                    [](const std::string& folder) { WriteAll(folder + "/mine.ini", "the user's old settings"); }});
}

TEST(KillAtAnyInstant, CommentSave) {
  KillAtManyPoints({"comments fill",
                    {"comments", "fill", "FOLDER", "--what", "name-size", "--dimensions"},
                    {"PicComment.txt"},
                    [](const std::string& folder) {
                      for (int i = 0; i < 40; ++i) MakeJpeg(folder + "/p" + std::to_string(100 + i) + ".jpg", 64, 48);
                      WriteAll(folder + "/PicComment.txt", "*****************************\r\np100.jpg\r\nold\r\n\r\n");
                    }});
}

TEST(KillAtAnyInstant, BmpConversion) {
  KillAtManyPoints({"bmp2jpg",
                    {"bmp2jpg", "FOLDER", "--yes"},
                    {"a.jpg", "b.jpg"},
                    [](const std::string& folder) {
                      WriteAll(folder + "/a.bmp", Bmp(1000, 700));
                      WriteAll(folder + "/b.bmp", Bmp(700, 1000));
                      WriteAll(folder + "/a.jpg", "the old a.jpg");
                      WriteAll(folder + "/b.jpg", "the old b.jpg");
                    }});
}

// An album folder with pictures and the pages of an earlier run.
void PrepareAlbum(const std::string& folder, const std::string& sub, int pictures) {
  MakeFolders(folder + sub);
  for (int i = 0; i < pictures; ++i) MakeJpeg(folder + sub + "/p" + std::to_string(10 + i) + ".jpg", 640, 480);
  WriteAll(folder + sub + "/index.htm", "the old index.htm" + sub);
  WriteAll(folder + sub + "/SShow.htm", "the old SShow.htm" + sub);
}

TEST(KillAtAnyInstant, AlbumRun) {
  // The pages grow while the pictures are made; a kill leaves the earlier
  // pages whole, never a page cut at the picture in progress.
  KillAtManyPoints({"album",
                    {"album", "FOLDER", "--title", "T", "--set", "makeSlideShow=on", "--quiet"},
                    {"index.htm", "SShow.htm"},
                    [](const std::string& folder) { PrepareAlbum(folder, "", 6); },
                    12});
}

TEST(KillAtAnyInstant, Batch) {
  KillAtManyPoints({"batch",
                    {"batch", "FOLDER", "--title", "T", "--set", "makeSlideShow=on", "--quiet"},
                    {"a/index.htm", "a/SShow.htm", "b/index.htm", "b/SShow.htm", "c/index.htm", "c/SShow.htm",
                     "index.htm"},
                    [](const std::string& folder) {
                      for (const char* sub : {"/a", "/b", "/c"}) PrepareAlbum(folder, sub, 2);
                      WriteAll(folder + "/index.htm", "the old table of contents");
                    },
                    12});
}

}  // namespace
}  // namespace pictavo
