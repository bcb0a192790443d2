// The picture-tool commands of pictavo-cli, run in-process.

#include <gtest/gtest.h>

#include <sstream>

#include "commands.h"
#include "image/jpeg.h"
#include "platform/paths.h"
#include "test_util.h"

namespace pictavo {
namespace {

int Cli(std::vector<std::string> args, std::string* err = nullptr) {
  args.insert(args.begin(), "pictavo-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, errStream;
  const int rc = cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, errStream);
  if (err) *err = errStream.str();
  return rc;
}

Bitmap Decode(const std::string& path) {
  Bitmap b;
  JpegInfo info;
  std::string error;
  EXPECT_TRUE(DecodeJpegFile(path, b, info, error)) << error;
  return b;
}

TEST(ToolsCli, Bmp2Jpg) {
  TempDir dir;
  // 1 x 1, 24 bits.
  const std::string bmp("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0"
                        "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xFF\0\0\0", 58);
  WriteAll(dir.file("one.BMP"), bmp);
  EXPECT_EQ(Cli({"bmp2jpg", dir.path(), "--quality", "100"}), 0);
  EXPECT_EQ(Decode(dir.file("one.jpg")).width, 1);
  WriteAll(dir.file("one.jpg"), "old");
  std::string err;
  EXPECT_EQ(Cli({"bmp2jpg", dir.path(), "--files", "one.BMP"}, &err), 0);
  EXPECT_EQ(ReadAll(dir.file("one.jpg")), "old");  // No by default
  EXPECT_NE(err.find("同名のファイルが存在します。"), std::string::npos);
  EXPECT_EQ(Cli({"bmp2jpg", dir.path(), "--yes"}), 0);
  EXPECT_NE(ReadAll(dir.file("one.jpg")), "old");
  EXPECT_EQ(Cli({"bmp2jpg", dir.path(), "--files", "missing.bmp"}), 1);
}

TEST(ToolsCli, RotateAndFillComments) {
  TempDir dir, programFolder;
  const std::string home = programFolder.file("home");
  std::string error;
  ASSERT_TRUE(WriteJpegFile(dir.file("a.jpg"), Bitmap::Create(40, 20, 24), 90, error));
  ASSERT_TRUE(WriteJpegFile(dir.file("b.jpg"), Bitmap::Create(40, 20, 24), 90, error));
  EXPECT_EQ(Cli({"rotate", dir.path()}), 2);
  EXPECT_EQ(Cli({"rotate", dir.path(), "--turns", "1", "--home", home}), 2);  // two pictures
  EXPECT_EQ(Cli({"rotate", dir.path(), "--turns", "0,-1", "--home", home, "--set", "rotationBackup=off"}), 0);
  EXPECT_EQ(Decode(dir.file("a.jpg")).width, 40);
  EXPECT_EQ(Decode(dir.file("b.jpg")).width, 20);
  EXPECT_FALSE(FolderExists(dir.file("_backup")));
  EXPECT_EQ(Cli({"rotate", dir.path(), "--right", "--pictures", "a.jpg", "--quality", "60", "--home", home}), 0);
  EXPECT_EQ(Decode(dir.file("a.jpg")).height, 40);
  EXPECT_TRUE(FileExists(dir.file("_backup/a.jpg")));

  EXPECT_EQ(Cli({"comments", "fill", dir.path(), "--what", "name-size", "--no-extension", "--dimensions"}), 0);
  auto lines = ReadCp932Lines(dir.file("PicComment.txt"));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[1], "a.jpg");
  EXPECT_EQ(lines[2], "a");
  EXPECT_NE(lines[3].find("KB (20,40)"), std::string::npos);
  EXPECT_EQ(Cli({"comments", "fill", dir.path(), "--what", "name", "--pictures", "b.jpg"}), 0);
  lines = ReadCp932Lines(dir.file("PicComment.txt"));
  EXPECT_EQ(lines[2], "a");  // kept from the file
  EXPECT_EQ(lines[6], "b.jpg");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(Cli({"comments", "fill", dir.path(), "--what", "colour"}), 2);
  EXPECT_EQ(Cli({"comments", "fill", dir.path(), "--what", "name", "--pictures", "zz.jpg"}), 2);
}

}  // namespace
}  // namespace pictavo
