// pictavo-cli publish over sites made by batch: what goes into the copy and
// what does not, the location, reruns that redo only what changed, the check
// at the end, and kills at any moment.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <thread>

#include "cli_fixtures.h"
#include "fixtures.h"
#include "image/jpeg.h"
#include "platform/paths.h"
#include "publish_fixtures.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

// Every file below the folder by relative path, with its bytes.
std::map<std::string, std::string> Files(const std::string& folder, const std::string& prefix = "") {
  std::map<std::string, std::string> out;
  for (const auto& name : ListDir(folder)) {
    const std::string path = folder + "/" + name;
    struct stat st {};
    ::lstat(path.c_str(), &st);
    if (S_ISDIR(st.st_mode)) {
      for (auto& [k, v] : Files(path, prefix + name + "/")) out[k] = std::move(v);
    } else {
      out[prefix + name] = ReadAll(path);
    }
  }
  return out;
}

void SetMtime(const std::string& path, time_t when) {
  struct timespec times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

time_t Mtime(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mtim.tv_sec;
}

// A site of two albums and a table of contents: spring has a sideways
// picture with a location (a), a small one with a location (b) and a plain
// one (c); summer one wide picture. Beside them lie what never goes: the
// comment file, a settings file, a backup, a BMP and a picture no page shows.
void MakeSite(const TempDir& dir, const std::string& site) {
  for (const char* f : {"", "/spring", "/summer", "/spring/_backup"}) ::mkdir((site + f).c_str(), 0777);
  WriteJpegWithMetadata(site + "/spring/a.jpg", PatternPicture(300, 200, 2), 6, true);
  WriteJpegWithMetadata(site + "/spring/b.jpg", PatternPicture(60, 40, 3), 1, true);
  MakeJpeg(site + "/spring/c.jpg", 320, 240);
  MakeJpeg(site + "/summer/s.jpg", 200, 100);
  WriteJpegWithMetadata(dir.file("wall.jpg"), PatternPicture(50, 50, 4), 1, true);
  const CliResult r = Cli({"batch", site, "--title", "Seasons", "--quiet", "--set", "backgroundPattern=on", "--set",
                           "backgroundFile=" + dir.file("wall.jpg"), "--set", "makeSlideShow=on", "--set",
                           "slideShowLimit=on", "--set", "slideShowMaxX=80", "--set", "slideShowMaxY=60"});
  ASSERT_EQ(r.status, 0) << r.err;
  WriteAll(site + "/spring/PicComment.txt", "a.jpg\r\nhello\r\n\r\n");
  WriteAll(site + "/spring/mine.ini", "x\r\n");
  MakeJpeg(site + "/spring/_backup/a.jpg", 300, 200);
  WriteAll(site + "/spring/old.bmp", "BM");
  MakeJpeg(site + "/spring/z.jpg", 30, 30);
  ASSERT_EQ(Cli({"check", site, "--recursive"}).status, 0);
}

// c leaves the spring album (the page and the table of contents made again).
void DropPictureC(const TempDir& dir, const std::string& site) {
  ASSERT_EQ(Cli({"album", site + "/spring", "--title", "spring", "--pictures", "a.jpg,b.jpg", "--quiet", "--set",
                 "backgroundPattern=on", "--set", "backgroundFile=" + dir.file("wall.jpg"), "--set",
                 "makeSlideShow=on", "--set", "slideShowLimit=on", "--set", "slideShowMaxX=80", "--set",
                 "slideShowMaxY=60"})
                .status,
            0);
  ASSERT_EQ(Cli({"toc", site, "--quiet"}).status, 0);
}

// "3 picture(s) reduced, 5 file(s) copied, ..." as the counts.
std::string Counts(const CliResult& r) {
  const size_t at = r.err.find(" file(s) in the site: ");
  if (at == std::string::npos) return "no summary: " + r.err;
  const size_t end = r.err.find('\n', at);
  return r.err.substr(at + 22, end - at - 22);
}

TEST(PublishCli, CopiesPagesAndThumbnailsAndMakesScreenSizePicturesWithoutLocation) {
  TempDir dir;
  const std::string site = dir.file("site"), dest = dir.file("dest");
  MakeSite(dir, site);
  const CliResult r = Cli({"publish", site, dest, "--max-size", "100"});
  ASSERT_EQ(r.status, 0) << r.err << r.out;

  const auto in = Files(site), out = Files(dest);
  std::vector<std::string> names;
  for (const auto& [name, bytes] : out) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{".pictavo-publish", "index.htm", "spring/SShow.htm", "spring/a.jpg",
                                             "spring/b.jpg", "spring/c.jpg", "spring/htm_image/a.jpg",
                                             "spring/htm_image/b.jpg", "spring/htm_image/back.jpg",
                                             "spring/htm_image/c.jpg", "spring/index.htm", "summer/SShow.htm",
                                             "summer/htm_image/back.jpg", "summer/htm_image/s.jpg",
                                             "summer/index.htm", "summer/s.jpg"}));
  for (const auto& [name, bytes] : out) {
    if (name == ".pictavo-publish") continue;
    const bool page = Extension(name) == ".htm";
    const bool thumbnail = name.find("htm_image/") != std::string::npos && name.find("back.jpg") == std::string::npos;
    if (page || thumbnail) {
      EXPECT_EQ(bytes, in.at(name)) << name << " is not byte for byte";
    }
    if (!page) {
      EXPECT_FALSE(CarriesLocation(bytes)) << name;
    }
  }
  // The background copy had a location: its pixels stay, the location goes.
  Bitmap before, after;
  JpegInfo info;
  ASSERT_TRUE(Succeeded(DecodeJpegFile(site + "/spring/htm_image/back.jpg", before, info)));
  ASSERT_TRUE(Succeeded(DecodeJpegFile(dest + "/spring/htm_image/back.jpg", after, info)));
  EXPECT_EQ(before.data, after.data);

  // Every picture fits 100 x 100, upright, and decodes; b already fitted
  // and keeps its pixels; the camera and the ICC profile stay.
  const std::map<std::string, std::pair<int, int>> sizes = {
      {"spring/a.jpg", {67, 100}}, {"spring/b.jpg", {60, 40}}, {"spring/c.jpg", {100, 75}}, {"summer/s.jpg", {100, 50}}};
  for (const auto& [name, size] : sizes) {
    Bitmap p;
    ASSERT_TRUE(Succeeded(DecodeJpegFile(dest + "/" + name, p, info))) << name;
    EXPECT_EQ(std::make_pair(p.width, p.height), size) << name;
    EXPECT_EQ(info.orientation, 1) << name;
  }
  EXPECT_NE(out.at("spring/a.jpg").find("TestCam"), std::string::npos);
  EXPECT_NE(out.at("spring/a.jpg").find("ICC_PROFILE"), std::string::npos);
  EXPECT_NE(out.at("spring/b.jpg").find("Taro Yamada"), std::string::npos);
  ASSERT_TRUE(Succeeded(DecodeJpegFile(site + "/spring/b.jpg", before, info)));
  ASSERT_TRUE(Succeeded(DecodeJpegFile(dest + "/spring/b.jpg", after, info)));
  EXPECT_EQ(before.data, after.data);
  EXPECT_EQ(Cli({"check", dest, "--recursive"}).status, 0);

  const std::string kept = dir.file("kept");
  ASSERT_EQ(Cli({"publish", site, kept, "--max-size", "100", "--keep-location"}).status, 0);
  EXPECT_TRUE(CarriesLocation(ReadAll(kept + "/spring/a.jpg")));
  EXPECT_EQ(ReadAll(kept + "/spring/b.jpg"), in.at("spring/b.jpg"));
  EXPECT_NE(ReadAll(kept + "/spring/a.jpg").find("TestCam"), std::string::npos);

  // A slide show without its size limit shows the picture at full size:
  // the picture goes at that size, so the page stays as it is and works.
  ASSERT_EQ(Cli({"album", site + "/summer", "--title", "summer", "--quiet", "--set", "makeSlideShow=on"}).status, 0);
  ASSERT_EQ(Cli({"toc", site, "--quiet"}).status, 0);
  const std::string full = dir.file("full");
  ASSERT_EQ(Cli({"publish", site, full, "--max-size", "100"}).status, 0);
  EXPECT_EQ(ReadAll(full + "/summer/s.jpg"), in.at("summer/s.jpg"));
  EXPECT_EQ(ReadAll(full + "/summer/SShow.htm"), ReadAll(site + "/summer/SShow.htm"));
}

TEST(PublishCli, ARerunRedoesOnlyWhatChangedAndRemovesOnlyWhatItWrote) {
  TempDir dir;
  const std::string site = dir.file("site"), dest = dir.file("dest");
  MakeSite(dir, site);
  ASSERT_EQ(Cli({"publish", site, dest, "--max-size", "100"}).status, 0);
  WriteAll(dest + "/mine.txt", "the user's own");
  WriteAll(dest + "/spring/notes.htm", "someone else's page");
  EXPECT_EQ(Counts(Cli({"publish", site, dest, "--max-size", "100"})),
            "0 picture(s) reduced, 0 file(s) copied, 15 up to date, 0 old file(s) removed");

  // c changes, older than its thumbnail so the site stays sound: one picture is made again.
  MakeJpeg(site + "/spring/c.jpg", 320, 240, {false, 60});
  SetMtime(site + "/spring/c.jpg", Mtime(site + "/spring/htm_image/c.jpg") - 100);
  const std::string oldC = ReadAll(dest + "/spring/c.jpg");
  EXPECT_EQ(Counts(Cli({"publish", site, dest, "--max-size", "100"})),
            "1 picture(s) reduced, 0 file(s) copied, 14 up to date, 0 old file(s) removed");
  EXPECT_NE(ReadAll(dest + "/spring/c.jpg"), oldC);
  // Another quality makes every reduced picture again and copies the fitting one again.
  EXPECT_EQ(Counts(Cli({"publish", site, dest, "--max-size", "100", "--quality", "60"})),
            "3 picture(s) reduced, 1 file(s) copied, 11 up to date, 0 old file(s) removed");

  // c leaves the album: its picture and thumbnail leave the copy, the user's files stay.
  DropPictureC(dir, site);
  const CliResult r = Cli({"publish", site, dest, "--max-size", "100", "--quality", "60"});
  EXPECT_EQ(r.status, 0) << r.err << r.out;
  EXPECT_FALSE(PathExists(dest + "/spring/c.jpg"));
  EXPECT_FALSE(PathExists(dest + "/spring/htm_image/c.jpg"));
  EXPECT_EQ(ReadAll(dest + "/mine.txt"), "the user's own");
  EXPECT_EQ(ReadAll(dest + "/spring/notes.htm"), "someone else's page");
  EXPECT_NE(r.err.find("2 old file(s) removed"), std::string::npos) << r.err;
  EXPECT_EQ(ReadAll(dest + "/spring/index.htm"), ReadAll(site + "/spring/index.htm"));
}

TEST(PublishCli, NeverReplacesAFileItDidNotWrite) {
  TempDir dir;
  const std::string site = dir.file("site"), dest = dir.file("dest");
  MakeSite(dir, site);
  ::mkdir(dest.c_str(), 0777);
  ::mkdir((dest + "/summer").c_str(), 0777);
  WriteAll(dest + "/summer/s.jpg", "an older upload of the user's");
  const CliResult r = Cli({"publish", site, dest, "--max-size", "100"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("summer/s.jpg: already in the destination"), std::string::npos) << r.err;
  EXPECT_EQ(ReadAll(dest + "/summer/s.jpg"), "an older upload of the user's");
  // A published file the user changed, once the site drops it, is left too.
  ::unlink((dest + "/summer/s.jpg").c_str());
  ASSERT_EQ(Cli({"publish", site, dest, "--max-size", "100"}).status, 0);
  WriteAll(dest + "/spring/c.jpg", "edited");
  DropPictureC(dir, site);
  const CliResult dry = Cli({"publish", site, dest, "--max-size", "100", "--dry-run"});
  EXPECT_NE(dry.err.find("leave spring/c.jpg"), std::string::npos) << dry.err;
  EXPECT_NE(dry.err.find("remove spring/htm_image/c.jpg"), std::string::npos) << dry.err;
  const CliResult again = Cli({"publish", site, dest, "--max-size", "100"});
  EXPECT_EQ(ReadAll(dest + "/spring/c.jpg"), "edited");
  EXPECT_NE(again.err.find("left spring/c.jpg"), std::string::npos) << again.err;
}

TEST(PublishCli, SucceedsOnlyWhenTheCopyPassesTheCheck) {
  TempDir dir;
  const std::string site = dir.file("site"), dest = dir.file("dest");
  MakeSite(dir, site);
  ::unlink((site + "/summer/htm_image/s.jpg").c_str());
  const CliResult r = Cli({"publish", site, dest});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("summer/index.htm"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("[missing-thumbnail]"), std::string::npos) << r.out;

  EXPECT_EQ(Cli({"publish", dir.file("nothing"), dest}).status, 2);
  const CliResult inside = Cli({"publish", site, site + "/spring/copy"});
  EXPECT_EQ(inside.status, 1);
  EXPECT_EQ(inside.err, "pictavo-cli: the destination and the site must not lie inside each other\n");
  EXPECT_FALSE(PathExists(site + "/spring/copy"));
  EXPECT_EQ(Cli({"publish", site, dest, "--quality", "0"}).status, 2);
  EXPECT_EQ(Cli({"publish", site, dest, "--max-size", "2"}).status, 2);
  const CliResult noPage = Cli({"publish", site + "/spring/_backup", dir.file("d2")});
  EXPECT_EQ(noPage.status, 1);
  EXPECT_EQ(noPage.err, "pictavo-cli: no page of this program in " + site + "/spring/_backup\n");
}

TEST(PublishCli, ADryRunSaysWhatItWouldDoAndWritesNothing) {
  TempDir dir;
  const std::string site = dir.file("site"), dest = dir.file("dest");
  MakeSite(dir, site);
  const CliResult fresh = Cli({"publish", site, dest, "--max-size", "100", "--dry-run"});
  EXPECT_EQ(fresh.status, 0) << fresh.err;
  EXPECT_FALSE(PathExists(dest));
  EXPECT_NE(fresh.err.find("write spring/a.jpg (reduced to 67 x 100)"), std::string::npos) << fresh.err;
  EXPECT_NE(fresh.err.find("write spring/b.jpg (copied, it fits)"), std::string::npos) << fresh.err;
  EXPECT_NE(fresh.err.find("write spring/index.htm"), std::string::npos) << fresh.err;
  EXPECT_EQ(fresh.err.find("PicComment"), std::string::npos);

  ASSERT_EQ(Cli({"publish", site, dest, "--max-size", "100"}).status, 0);
  ::unlink((site + "/spring/z.jpg").c_str());
  const auto before = Files(dest);
  const CliResult again = Cli({"publish", site, dest, "--max-size", "80", "--dry-run"});
  EXPECT_EQ(Files(dest), before);
  EXPECT_NE(again.err.find("update spring/a.jpg (reduced to 53 x 80)"), std::string::npos) << again.err;
}

TEST(PublishCli, ReadsNothingThroughALinkLeadingOutOfTheSite) {
  TempDir dir, outside;
  const std::string site = dir.file("site"), dest = dir.file("dest");
  ::mkdir(site.c_str(), 0777);
  MakeJpeg(site + "/p.jpg", 40, 30);
  MakeJpeg(site + "/q.jpg", 40, 30);
  ASSERT_EQ(Cli({"album", site, "--quiet", "--set", "defaultHeader=off", "--set",
                 "headerComment=<A href=\"../secret.txt\">s</A>"})
                .status,
            0);
  WriteAll(dir.file("secret.txt"), "secret");
  MakeJpeg(outside.file("q.jpg"), 40, 30);
  ::unlink((site + "/q.jpg").c_str());
  ASSERT_EQ(::symlink(outside.file("q.jpg").c_str(), (site + "/q.jpg").c_str()), 0);
  const CliResult r = Cli({"publish", site, dest});
  EXPECT_EQ(r.status, 1);  // the copy lacks q.jpg, and the check says so
  EXPECT_TRUE(PathExists(dest + "/p.jpg"));
  EXPECT_FALSE(PathExists(dest + "/q.jpg"));
  for (const auto& [name, bytes] : Files(dest)) EXPECT_NE(bytes, "secret") << name;
}

// --- kills ---------------------------------------------------------------

// An earlier publish at another quality is in the destination; a publish at
// the new quality is killed (or stopped with Ctrl-C) at many moments. Each
// file must then be the old one or the new one, and the next publish must
// end exactly as a publish that was never interrupted.
TEST(PublishCli, AKillAtAnyMomentLeavesEveryFileOldOrNewAndARerunCompletesIt) {
  TempDir dir;
  const std::string site = dir.file("site");
  ::mkdir(site.c_str(), 0777);
  for (int i = 0; i < 8; ++i) MakeJpeg(site + "/p" + std::to_string(i) + ".jpg", 900, 600, {false, 95});
  ASSERT_EQ(Cli({"album", site, "--quiet"}).status, 0);
  const std::vector<std::string> oldArgs = {"--max-size", "300", "--quality", "50"};
  const std::vector<std::string> newArgs = {"--max-size", "200", "--quality", "90"};
  auto publish = [&](const std::string& dest, const std::vector<std::string>& extra) {
    std::vector<std::string> a = {"publish", site, dest, "--quiet"};
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
  };
  auto visible = [](std::map<std::string, std::string> files) {
    files.erase(".pictavo-publish");
    return files;
  };
  // The same names with the same bytes, told by name.
  auto same = [](const std::map<std::string, std::string>& a, const std::map<std::string, std::string>& b) {
    std::string out;
    for (const auto& [name, bytes] : a) {
      if (!b.count(name)) out += " extra " + name;
      else if (b.at(name) != bytes) out += " differs " + name;
    }
    for (const auto& [name, bytes] : b) {
      if (!a.count(name)) out += " missing " + name;
    }
    return out;
  };
  ASSERT_EQ(WaitCli(StartCli(publish(dir.file("old"), oldArgs))), 0);
  const auto oldFiles = visible(Files(dir.file("old")));
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_EQ(WaitCli(StartCli(publish(dir.file("new"), newArgs))), 0);
  const auto duration = std::chrono::steady_clock::now() - t0;
  const auto newFiles = visible(Files(dir.file("new")));

  const int points = 8;
  for (int k = 0; k < points; ++k) {
    SCOPED_TRACE("kill point " + std::to_string(k));
    const std::string dest = dir.file("d" + std::to_string(k));
    ASSERT_EQ(WaitCli(StartCli(publish(dest, oldArgs))), 0);
    const int pid = StartCli(publish(dest, newArgs));
    std::this_thread::sleep_for(duration * k / points);
    const bool interrupt = k % 3 == 2;
    ::kill(pid, interrupt ? SIGINT : SIGKILL);
    const int status = WaitCli(pid);
    if (interrupt && WIFEXITED(status)) {
      EXPECT_TRUE(WEXITSTATUS(status) == 130 || WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
    }
    for (const auto& [name, bytes] : visible(Files(dest))) {
      if (LastComponent(name)[0] == '.') continue;  // a temporary file a kill left; never a published name
      const bool isOld = oldFiles.count(name) && oldFiles.at(name) == bytes;
      const bool isNew = newFiles.count(name) && newFiles.at(name) == bytes;
      EXPECT_TRUE(isOld || isNew) << name << " is neither the old file nor the new one";
    }
    ASSERT_EQ(WaitCli(StartCli(publish(dest, newArgs))), 0);
    EXPECT_EQ(same(visible(Files(dest)), newFiles), "");
  }
}

}  // namespace
}  // namespace pictavo
