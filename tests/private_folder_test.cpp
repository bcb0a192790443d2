#include "platform/private_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_util.h"

namespace pictavo {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

std::string Chosen(const PrivateFolderEnvironment& env, Status* outcome = nullptr) {
  std::string folder;
  const Status status = ChoosePrivateFolder(env, folder);
  if (outcome) *outcome = status;
  EXPECT_EQ(status.ok(), status.reason().empty()) << status.reason();
  return status.ok() ? folder : "";
}

TEST(PrivateFolder, TheRuntimeFolderOnlyWhenItIsTheUsersAlone) {
  TempDir dir;
  const std::string runtime = dir.file("run");
  ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
  const std::string own = dir.file("cache/pictavo-" + std::to_string(::geteuid()));
  EXPECT_EQ(Chosen({runtime, dir.file("cache"), dir.path()}), runtime);

  // Others can reach it, or it is a link: the cache folder's own is made instead.
  ASSERT_EQ(::chmod(runtime.c_str(), 0755), 0);
  EXPECT_EQ(Chosen({runtime, dir.file("cache"), dir.path()}), own);
  EXPECT_EQ(ModeOf(own), 0700u);
  ASSERT_EQ(::chmod(runtime.c_str(), 0700), 0);
  ASSERT_EQ(::symlink(runtime.c_str(), dir.file("link").c_str()), 0);
  EXPECT_EQ(Chosen({dir.file("link"), dir.file("cache"), dir.path()}), own);
  EXPECT_NE(PrivateFolderTrouble(dir.file("link")).find("symbolic link"), std::string::npos);
  // Relative names are not taken from the environment.
  EXPECT_EQ(Chosen({"run", "cache", dir.path()}), dir.file(".cache/pictavo-" + std::to_string(::geteuid())));
  EXPECT_EQ(ModeOf(dir.file(".cache")), 0700u);
}

TEST(PrivateFolder, TheCacheFolderIsCheckedBeforeUse) {
  TempDir dir;
  const std::string cache = dir.file("cache");
  ASSERT_EQ(::mkdir(cache.c_str(), 0755), 0);
  const std::string own = cache + "/pictavo-" + std::to_string(::geteuid());

  // Our own folder left wider than 0700 is narrowed.
  ASSERT_EQ(::mkdir(own.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(own.c_str(), 0777), 0);
  EXPECT_EQ(Chosen({"", cache, ""}), own);
  EXPECT_EQ(ModeOf(own), 0700u);

  // A link in its place, even to a folder of ours, and a file are refused.
  ASSERT_EQ(::rmdir(own.c_str()), 0);
  ASSERT_EQ(::mkdir(dir.file("elsewhere").c_str(), 0700), 0);
  ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), own.c_str()), 0);
  Status error;
  EXPECT_EQ(Chosen({"", cache, ""}, &error), "");
  EXPECT_NE(error.reason().find(own), std::string::npos) << error.reason();
  EXPECT_EQ(error.code(), ErrorCode::CannotWrite);
  EXPECT_EQ(ModeOf(dir.file("elsewhere")), 0700u);
  ASSERT_EQ(::unlink(own.c_str()), 0);
  WriteAll(own, "");
  EXPECT_EQ(Chosen({"", cache, ""}, &error), "");
  EXPECT_NE(error.reason().find("not a folder"), std::string::npos) << error.reason();
  EXPECT_EQ(error.code(), ErrorCode::CannotWrite);

  // Nothing usable at all: no folder, and never a shared one.
  EXPECT_EQ(Chosen({"", "", ""}, &error), "");
  EXPECT_FALSE(error.reason().empty());
  EXPECT_EQ(error.code(), ErrorCode::NotFound);
  // A cache folder that is not the user's own (root's, unless we are root).
  if (::geteuid() != 0) {
    EXPECT_EQ(Chosen({"", "/", ""}, &error), "");
    EXPECT_NE(error.reason().find("another user"), std::string::npos) << error.reason();
  }
}

}  // namespace
}  // namespace pictavo
