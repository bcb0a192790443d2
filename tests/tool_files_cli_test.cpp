// What the tools do to the files they touch: BMP sources never written,
// links kept with their targets replaced, permissions, owners and letter
// case respected, four turns saved, the rotation quality kept in range, and
// DOS time stamps before 1970.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "cli_fixtures.h"
#include "fixtures.h"
#include "image/jpeg.h"
#include "platform/file_copy.h"
#include "platform/paths.h"
#include "platform/sink.h"
#include "status_testing.h"
#include "test_util.h"
#include "tools/rotation.h"

namespace pictavo {
namespace {

const std::string kBmp = TinyBmp();

mode_t Mode(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

bool IsLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

JpegInfo Info(const std::string& path) {
  JpegInfo info;
  EXPECT_TRUE(Succeeded(ReadJpegInfo(path, info)));
  return info;
}

TEST(ToolFiles, Bmp2JpgConvertsOnlyBmpFilesInListOrderAndNamesAFileItCannotRead) {
  TempDir dir;
  WriteAll(dir.file("pic.jpg"), kBmp);  // BMP data under a JPEG name
  const CliResult wrong = Cli({"bmp2jpg", dir.path(), "--files", "pic.jpg", "--yes"});
  EXPECT_EQ(wrong.status, 2);
  EXPECT_NE(wrong.err.find("pic.jpg"), std::string::npos);
  EXPECT_EQ(ReadAll(dir.file("pic.jpg")), kBmp);

  // Given out of order, the files are still converted in the list's order:
  // a.bmp first, whose failure ends the command before b.bmp.
  WriteAll(dir.file("a.bmp"), std::string(64, 'x'));  // no "BM" signature
  WriteAll(dir.file("b.bmp"), kBmp);
  const CliResult r = Cli({"bmp2jpg", dir.path(), "--files", "b.bmp,a.bmp"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("File type is invalid"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(dir.file("a.bmp")), std::string::npos) << r.err;
  EXPECT_FALSE(PathExists(dir.file("b.jpg")));
}

TEST(ToolFiles, Bmp2JpgTakesANameDifferingOnlyInCaseAsTheExistingFile) {
  TempDir dir;
  WriteAll(dir.file("photo.bmp"), kBmp);
  WriteAll(dir.file("PHOTO.JPG"), "older picture");
  const CliResult no = Cli({"bmp2jpg", dir.path()});
  EXPECT_EQ(no.status, 0) << no.err;
  EXPECT_NE(no.err.find("同名のファイルが存在します。\nPHOTO.JPG\n"), std::string::npos) << no.err;
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"PHOTO.JPG", "photo.bmp"}));
  EXPECT_EQ(ReadAll(dir.file("PHOTO.JPG")), "older picture");

  ASSERT_EQ(Cli({"bmp2jpg", dir.path(), "--yes"}).status, 0);
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"PHOTO.JPG", "photo.bmp"}));
  EXPECT_EQ(Info(dir.file("PHOTO.JPG")).width, 1);
}

TEST(ToolFiles, AtomicReplaceGoesThroughLinksAndKeepsModeAndOwner) {
  TempDir dir;
  ::mkdir(dir.file("real").c_str(), 0777);
  WriteAll(dir.file("real/settings.ini"), "old");
  ASSERT_EQ(::symlink("real/settings.ini", dir.file("relative.ini").c_str()), 0);
  ASSERT_EQ(::symlink("relative.ini", dir.file("chain.ini").c_str()), 0);
  ASSERT_TRUE(Succeeded(WriteFileAtomically(dir.file("chain.ini"), "new")));
  EXPECT_TRUE(IsLink(dir.file("chain.ini")));
  EXPECT_TRUE(IsLink(dir.file("relative.ini")));
  EXPECT_EQ(ReadAll(dir.file("real/settings.ini")), "new");
  EXPECT_EQ(ListDir(dir.file("real")), std::vector<std::string>{"settings.ini"});  // no temporary file left

  // A link that leads nowhere yet: the file is made where it leads.
  ASSERT_EQ(::symlink("real/later.txt", dir.file("later.txt").c_str()), 0);
  ASSERT_TRUE(Succeeded(WriteFileAtomically(dir.file("later.txt"), "made")));
  EXPECT_TRUE(IsLink(dir.file("later.txt")));
  EXPECT_EQ(ReadAll(dir.file("real/later.txt")), "made");

  // A file the program makes again replaces the link itself.
  ASSERT_EQ(::symlink("real/settings.ini", dir.file("thumb.jpg").c_str()), 0);
  ASSERT_TRUE(Succeeded(WriteFileAtomically(dir.file("thumb.jpg"), "thumbnail", /*durable=*/false)));
  EXPECT_FALSE(IsLink(dir.file("thumb.jpg")));
  EXPECT_EQ(ReadAll(dir.file("real/settings.ini")), "new");

  // A circle of links is replaced as the path given.
  ASSERT_EQ(::symlink("loop2", dir.file("loop1").c_str()), 0);
  ASSERT_EQ(::symlink("loop1", dir.file("loop2").c_str()), 0);
  EXPECT_EQ(FollowLinks(dir.file("loop1")), dir.file("loop1"));

  ::chmod(dir.file("real/settings.ini").c_str(), 0640);
  ASSERT_TRUE(Succeeded(WriteFileAtomically(dir.file("real/settings.ini"), "again")));
  EXPECT_EQ(Mode(dir.file("real/settings.ini")), 0640u);
  if (::chown(dir.file("real/settings.ini").c_str(), 4321, 4321) != 0) {
    GTEST_SKIP() << "owner cannot be changed here";
  }
  ASSERT_TRUE(Succeeded(WriteFileAtomically(dir.file("real/settings.ini"), "owned")));
  struct stat st {};
  ASSERT_EQ(::stat(dir.file("real/settings.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4321u);
}

TEST(ToolFiles, RotatingThroughLinksTurnsTheLinkedFiles) {
  // Links inside the picture folder are followed (links leading out of it
  // are refused: tests/cli_links_test.cpp).
  TempDir dir, programFolder;
  struct Store {
    std::string path;
    std::string file(const std::string& name) const { return path + "/" + name; }
  } store{dir.file("store")};
  MakeFolders(store.path);
  const std::string home = programFolder.file("home");
  MakeJpeg(store.file("photo.jpg"), 40, 20);
  ASSERT_EQ(::symlink(store.file("photo.jpg").c_str(), dir.file("photo.jpg").c_str()), 0);
  ::chmod(store.file("photo.jpg").c_str(), 0600);
  const CliResult r = Cli({"rotate", dir.path(), "--right", "--home", home, "--set", "rotationBackup=on"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(IsLink(dir.file("photo.jpg")));
  EXPECT_EQ(Info(store.file("photo.jpg")).width, 20);
  EXPECT_EQ(Mode(store.file("photo.jpg")), 0600u);
  // The backup is as private as the photograph, and holds it unturned.
  EXPECT_EQ(Mode(dir.file("_backup/photo.jpg")), 0600u);
  EXPECT_FALSE(IsLink(dir.file("_backup/photo.jpg")));
  EXPECT_EQ(Info(dir.file("_backup/photo.jpg")).width, 40);

  // A linked comment file stays a link to the file that is written.
  WriteAll(store.file("PicComment.txt"), "");
  ASSERT_EQ(::symlink(store.file("PicComment.txt").c_str(), dir.file("PicComment.txt").c_str()), 0);
  ASSERT_EQ(Cli({"comments", "fill", dir.path(), "--what", "name"}).status, 0);
  EXPECT_TRUE(IsLink(dir.file("PicComment.txt")));
  EXPECT_EQ(ReadCp932Lines(store.file("PicComment.txt"))[1], "photo.jpg");

  // So does a settings file the user names, wherever its link leads.
  TempDir elsewhere;
  ASSERT_EQ(::symlink(elsewhere.file("mine.ini").c_str(), dir.file("mine.ini").c_str()), 0);
  const CliResult saved = Cli({"settings", "save", dir.file("mine.ini"), "--home", home});
  ASSERT_EQ(saved.status, 0) << saved.err;
  EXPECT_TRUE(IsLink(dir.file("mine.ini")));
  EXPECT_EQ(ReadCp932Lines(elsewhere.file("mine.ini")).size(), 97u);
}

TEST(ToolFiles, FourTurnsSaveAndTheQualityStaysInRange) {
  TempDir dir, programFolder;
  const std::string home = programFolder.file("home");
  MakeJpeg(dir.file("a.jpg"), 48, 32);
  MakeJpeg(dir.file("b.jpg"), 48, 32);
  const std::string a = ReadAll(dir.file("a.jpg")), b = ReadAll(dir.file("b.jpg"));
  const CliResult r = Cli({"rotate", dir.path(), "--turns", "4,0", "--home", home, "--set", "rotationBackup=off",
                           "--set", "rotationQuality=30"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.file("a.jpg") + "\n");
  EXPECT_EQ(ReadAll(dir.file("b.jpg")), b);
  // Re-encoded as after no turn, at 50: the lowest quality the window offers.
  Bitmap picture;
  JpegInfo info;
  std::string expected;
  WriteAll(dir.file("old.jpg"), a);
  ASSERT_TRUE(Succeeded(DecodeJpegFile(dir.file("old.jpg"), picture, info)));
  ASSERT_TRUE(Succeeded(EncodeJpeg(picture, 50, expected)));
  EXPECT_EQ(ReadAll(dir.file("a.jpg")), expected);

  RecordingHost host;
  AlbumSettings s;
  for (const auto& [stored, used] : std::vector<std::pair<int, int>>{{0, 50}, {30, 50}, {75, 75}, {200, 100}}) {
    s.rotationQuality = stored;
    EXPECT_EQ(RotationWalk(host, s).quality, used) << stored;
  }
}

TEST(ToolFiles, DosTimeRoundsDownBefore1970Too) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  EXPECT_EQ(DosTime(3), 2);
  EXPECT_EQ(DosTime(2), 2);
  EXPECT_EQ(DosTime(-1), -2);
  EXPECT_EQ(DosTime(-3), -4);

  TempDir dir;
  MakeJpeg(dir.file("old.jpg"), 8, 8);
  struct timespec times[2] = {{0, UTIME_OMIT}, {-3601, 0}};  // 22:59:59 on the last day of 1969
  ASSERT_EQ(::utimensat(AT_FDCWD, dir.file("old.jpg").c_str(), times, 0), 0);
  ASSERT_EQ(Cli({"comments", "fill", dir.path(), "--what", "datetime"}).status, 0);
  const auto lines = ReadCp932Lines(dir.file("PicComment.txt"));
  EXPECT_EQ(lines[2], "69/12/31");
  EXPECT_EQ(lines[3], "午後 10:59:58");

  if (old) {
    ::setenv("TZ", saved.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

TEST(ToolFiles, DimensionsAreThoseOfTheUprightPicture) {
  TempDir dir;
  MakeJpeg(dir.file("phone.jpg"), 64, 48, {false, 90, 6});  // stored sideways
  ASSERT_EQ(Cli({"comments", "fill", dir.path(), "--what", "size", "--dimensions"}).status, 0);
  const auto lines = ReadCp932Lines(dir.file("PicComment.txt"));
  EXPECT_NE(lines[2].find("KB (48,64)"), std::string::npos) << lines[2];
}

}  // namespace
}  // namespace pictavo
