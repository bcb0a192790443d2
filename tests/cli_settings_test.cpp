#include <gtest/gtest.h>

#include "commands.h"
#include "cli_fixtures.h"
#include "fixtures.h"
#include "image/jpeg.h"
#include "comments/comment_file.h"
#include "platform/paths.h"
#include "settings/settings_file.h"
#include "status_testing.h"
#include "test_util.h"
#include "text/encoding.h"

namespace pictavo {
namespace {

std::string Field(const std::string& shown, const std::string& field) {
  const auto at = shown.find("\n" + field + "=");
  if (at == std::string::npos) return "<missing>";
  const auto start = at + field.size() + 2;
  return shown.substr(start, shown.find('\n', start) - start);
}

TEST(CliSettings, ShowAndSaveFollowTheStartAndSaveRules) {
  TempDir dir;
  const std::string home = dir.file("home");
  CliResult r = Cli({"settings", "show", "--home", home});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(FolderExists(home + "/inifile"));
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "startFolder=");
  EXPECT_EQ(Field(r.out, "titleFontFace"), "ＭＳ Ｐ明朝");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 48);

  // save: the extension is fixed; the result reads back; the bytes are FillSettingsLines'.
  r = Cli({"settings", "save", dir.file("mine"), "--home", home, "--set", "textColor=255", "--set", "headerComment=é"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.file("mine.ini") + "\n");
  AlbumSettings expected;
  expected.textColor = 255;
  expected.headerComment = "é";
  SettingsLines lines;
  FillSettingsLines(expected, "2.02", lines);
  ASSERT_TRUE(Succeeded(WriteSettingsFile(dir.file("expected.ini"), lines)));
  EXPECT_EQ(ReadAll(dir.file("mine.ini")), ReadAll(dir.file("expected.ini")));
  r = Cli({"settings", "show", dir.file("mine.ini"), "--home", home});
  EXPECT_EQ(Field(r.out, "textColor"), "255");
  EXPECT_EQ(Field(r.out, "headerComment"), "é");

  // The program folder's own files are refused.
  r = Cli({"settings", "save", home + "/PCV.ini", "--home", home});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("このフォルダに指定したファイル名は使用できません"), std::string::npos);
  EXPECT_FALSE(PathExists(home + "/PCV.ini"));

  // Start-up reads Vistamo.ini when PCV.ini is missing, as far as its version goes.
  AlbumSettings old;
  old.thumbnailPrefix = "t_";
  old.pictureFrame = "off";
  FillSettingsLines(old, "1.55", lines);
  ASSERT_TRUE(Succeeded(WriteSettingsFile(home + "/Vistamo.ini", lines)));
  r = Cli({"settings", "show", "--home", home});
  EXPECT_EQ(Field(r.out, "thumbnailPrefix"), "t_");
  EXPECT_EQ(Field(r.out, "pictureFrame"), "on");

  // --load: its header rules; a refused file ends with status 1.
  lines[0] = "Vistamo Ver2.01";
  ASSERT_TRUE(Succeeded(WriteSettingsFile(dir.file("load.ini"), lines)));
  r = Cli({"settings", "show", "--home", home, "--load", dir.file("load.ini"), "--set", "textColor=7"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Field(r.out, "pictureFrame"), "off");
  EXPECT_EQ(Field(r.out, "textColor"), "7");
  lines[0] = "ABCDEFGHIJK2.02";
  ASSERT_TRUE(Succeeded(WriteSettingsFile(dir.file("load.ini"), lines)));
  r = Cli({"settings", "show", "--home", home, "--load", dir.file("load.ini")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");

  EXPECT_EQ(Cli({"settings", "show", "--home", home, "--settings", dir.file("none.ini")}).status, 2);
  EXPECT_EQ(Cli({"settings", "save", "x", "--home", home, "--set", "textColor=red"}).status, 2);
}

TEST(CliSettings, AlbumUsesCommentsAutoSaveAndFolderSettings) {
  TempDir dir;
  const std::string home = dir.file("home");
  const std::string folder = dir.file("Trip");
  ASSERT_TRUE(MakeFolders(folder));
  Message writeError;
  ASSERT_TRUE(Succeeded(WriteJpegFile(folder + "/a.jpg", Bitmap::Create(30, 20, 24), 90)));
  ASSERT_EQ(WriteCommentFile(folder, {"A.JPG"}, {{"夕焼け", "two"}}, writeError), CommentWriteResult::Saved);

  CliResult r = Cli({"comments", "show", folder});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "A.JPG\t夕焼け\ttwo\n");

  r = Cli({"album", folder, "--home", home, "--comments", "--quiet", "--set", "autoSaveSettings=on", "--set",
           "thumbnailFolderName=small"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Cp932ToUtf8(ReadAll(folder + "/index.htm")).find("夕焼け"), std::string::npos);
  EXPECT_TRUE(FileExists(folder + "/small/a.jpg"));
  EXPECT_TRUE(FileExists(home + "/inifile/Trip.ini"));
  EXPECT_NE(r.err.find("ブラウザを起動しますか？ -> いいえ"), std::string::npos);

  // The saved per-folder file is found and loaded with --folder-settings.
  r = Cli({"album", folder, "--home", home, "--quiet", "--folder-settings", "--open", "--set", "browserPath=true"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("ブラウザを起動しますか？ -> はい"), std::string::npos);
  EXPECT_NE(r.err.find("同名の設定ファイルが存在します"), std::string::npos);  // autoSaveSettings came back on

  // Without comments wanted or the file, --comments asks and ends the run.
  std::remove(CommentFilePath(folder).c_str());
  r = Cli({"album", folder, "--home", home, "--quiet", "--comments"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("コメントファイルが見つかりません"), std::string::npos);
  EXPECT_EQ(Cli({"comments", "show", folder}).status, 1);
}

}  // namespace
}  // namespace pictavo
