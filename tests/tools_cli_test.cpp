// The picture-tool commands of pictavo-cli, run in-process.

#include <gtest/gtest.h>

#include "cli_fixtures.h"
#include "fixtures.h"
#include "image/jpeg.h"
#include "platform/paths.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

Bitmap Decode(const std::string& path) {
  Bitmap b;
  JpegInfo info;
  EXPECT_TRUE(Succeeded(DecodeJpegFile(path, b, info)));
  return b;
}

TEST(ToolsCli, Bmp2Jpg) {
  TempDir dir;
  // 1 x 1, 24 bits.
  const std::string bmp("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0"
                        "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xFF\0\0\0", 58);
  WriteAll(dir.file("one.BMP"), bmp);
  EXPECT_EQ(Cli({"bmp2jpg", dir.path(), "--quality", "100"}).status, 0);
  EXPECT_EQ(Decode(dir.file("one.jpg")).width, 1);
  WriteAll(dir.file("one.jpg"), "old");
  const CliResult r = Cli({"bmp2jpg", dir.path(), "--files", "one.BMP"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ReadAll(dir.file("one.jpg")), "old");  // No by default
  EXPECT_NE(r.err.find("同名のファイルが存在します。"), std::string::npos);
  EXPECT_EQ(Cli({"bmp2jpg", dir.path(), "--yes"}).status, 0);
  EXPECT_NE(ReadAll(dir.file("one.jpg")), "old");
  EXPECT_EQ(Cli({"bmp2jpg", dir.path(), "--files", "missing.bmp"}).status, 2);  // not in the list
}

TEST(ToolsCli, RotateAndFillComments) {
  TempDir dir, programFolder;
  const std::string home = programFolder.file("home");
  ASSERT_TRUE(Succeeded(WriteJpegFile(dir.file("a.jpg"), Bitmap::Create(40, 20, 24), 90)));
  ASSERT_TRUE(Succeeded(WriteJpegFile(dir.file("b.jpg"), Bitmap::Create(40, 20, 24), 90)));
  EXPECT_EQ(Cli({"rotate", dir.path()}).status, 2);
  EXPECT_EQ(Cli({"rotate", dir.path(), "--turns", "1", "--home", home}).status, 2);  // two pictures
  EXPECT_EQ(Cli({"rotate", dir.path(), "--turns", "0,-1", "--home", home, "--set", "rotationBackup=off"}).status, 0);
  EXPECT_EQ(Decode(dir.file("a.jpg")).width, 40);
  EXPECT_EQ(Decode(dir.file("b.jpg")).width, 20);
  EXPECT_FALSE(FolderExists(dir.file("_backup")));
  EXPECT_EQ(Cli({"rotate", dir.path(), "--right", "--pictures", "a.jpg", "--quality", "60", "--home", home}).status, 0);
  EXPECT_EQ(Decode(dir.file("a.jpg")).height, 40);
  EXPECT_TRUE(FileExists(dir.file("_backup/a.jpg")));

  EXPECT_EQ(Cli({"comments", "fill", dir.path(), "--what", "name-size", "--no-extension", "--dimensions"}).status, 0);
  auto lines = ReadCp932Lines(dir.file("PicComment.txt"));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[1], "a.jpg");
  EXPECT_EQ(lines[2], "a");
  EXPECT_NE(lines[3].find("KB (20,40)"), std::string::npos);
  EXPECT_EQ(Cli({"comments", "fill", dir.path(), "--what", "name", "--pictures", "b.jpg"}).status, 0);
  lines = ReadCp932Lines(dir.file("PicComment.txt"));
  EXPECT_EQ(lines[2], "a");  // kept from the file
  EXPECT_EQ(lines[6], "b.jpg");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(Cli({"comments", "fill", dir.path(), "--what", "colour"}).status, 2);
  EXPECT_EQ(Cli({"comments", "fill", dir.path(), "--what", "name", "--pictures", "zz.jpg"}).status, 2);
}

}  // namespace
}  // namespace pictavo
