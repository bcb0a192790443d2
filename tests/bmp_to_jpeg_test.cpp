// The BMP-to-JPEG conversion: names, preview geometry, the overwrite
// question and the stop at the first write failure.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "image/jpeg.h"
#include "fixtures.h"
#include "status_testing.h"
#include "test_util.h"
#include "platform/paths.h"
#include "tools/bmp_to_jpeg.h"

namespace pictavo {
namespace {

// A 2 x 1 8-bit BMP file: a red and a blue pixel.
std::string SmallBmp() {
  std::string f("BM", 2);
  const unsigned char rest[] = {
      0x42, 0, 0, 0, 0, 0, 0, 0, 0x3E, 0, 0, 0,                       // size 66, offset
      40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0,      // 2 x 1, 8 bits
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,       // 2 colours
      0, 0, 0xFF, 0, 0xFF, 0, 0, 0,                                     // red, blue
      0, 1, 0, 0};
  f.append(reinterpret_cast<const char*>(rest), sizeof rest);
  return f;
}

TEST(BmpToJpeg, NamesAndPreviewGeometry) {
  EXPECT_EQ(JpegNameFor("photo.bmp"), "photo.jpg");
  EXPECT_EQ(JpegNameFor("PHOTO.BMP"), "PHOTO.jpg");
  EXPECT_EQ(JpegNameFor("写真.Bmp"), "写真.jpg");
  const PreviewBox wide = BmpPreviewBox(300, 100);
  EXPECT_EQ(wide.width, 116);
  EXPECT_EQ(wide.height, 39);
  EXPECT_EQ(wide.left, 5);
  EXPECT_EQ(wide.top, 44);
  const PreviewBox square = BmpPreviewBox(50, 50);
  EXPECT_EQ(square.width, 116);
  EXPECT_EQ(square.height, 116);
  EXPECT_EQ(square.left, 5);
  EXPECT_EQ(square.top, 5);
  const PreviewBox tall = BmpPreviewBox(100, 300);
  EXPECT_EQ(tall.width, 39);
  EXPECT_EQ(tall.left, 44);
}

TEST(BmpToJpeg, ConvertsAndAsksBeforeOverwriting) {
  TempDir dir;
  WriteAll(dir.file("a.bmp"), SmallBmp());
  WriteAll(dir.file("B.BMP"), SmallBmp());
  RecordingHost host;
  EXPECT_EQ(ConvertBmpFiles(dir.path(), {}, 95, host), ConversionOutcome::NothingSelected);
  EXPECT_EQ(host.messages.at(0), "ファイルが選択されていません。");

  ASSERT_EQ(ConvertBmpFiles(dir.path(), {"a.bmp", "B.BMP"}, 95, host), ConversionOutcome::Done);
  EXPECT_EQ(host.status[0], "変換終了");
  Bitmap out;
  JpegInfo info;
  ASSERT_TRUE(Succeeded(DecodeJpegFile(dir.file("B.jpg"), out, info)));
  EXPECT_EQ(out.bitsPerPixel, 24);  // an 8-bit BMP becomes a colour JPEG
  EXPECT_EQ(out.width, 2);

  // Second run: a question per file; No keeps the JPEG as it was.
  WriteAll(dir.file("a.jpg"), "keep");
  host.answers.clear();  // No
  ASSERT_EQ(ConvertBmpFiles(dir.path(), {"a.bmp", "B.BMP"}, 95, host), ConversionOutcome::Done);
  ASSERT_EQ(host.questions.size(), 2u);
  EXPECT_EQ(host.questions[0], "Pictavo|同名のファイルが存在します。\ra.jpg\r上書きしてよろしいですか？");
  EXPECT_EQ(ReadAll(dir.file("a.jpg")), "keep");
  host.answers = {true};
  ASSERT_EQ(ConvertBmpFiles(dir.path(), {"a.bmp"}, 95, host), ConversionOutcome::Done);
  EXPECT_NE(ReadAll(dir.file("a.jpg")), "keep");
  EXPECT_EQ(ReadAll(dir.file("a.bmp")), SmallBmp());
}

TEST(BmpToJpeg, StopsAtFirstFailure) {
  TempDir dir;
  for (const char* n : {"1.bmp", "2.bmp", "3.bmp"}) WriteAll(dir.file(n), SmallBmp());
  ::mkdir(dir.file("2.jpg").c_str(), 0755);  // cannot be replaced by a file
  RecordingHost host;
  host.answers = {true};
  EXPECT_EQ(ConvertBmpFiles(dir.path(), {"1.bmp", "2.bmp", "3.bmp"}, 95, host), ConversionOutcome::Failed);
  EXPECT_EQ(host.messages.back(), "ファイル書き込みエラーが発生しました。\r処理は中断されました。");
  EXPECT_EQ(host.status[0], "");
  EXPECT_TRUE(FileExists(dir.file("1.jpg")));
  EXPECT_FALSE(FileExists(dir.file("3.jpg")));

  // A file that is not a BMP ends the command with the image's error.
  WriteAll(dir.file("x.bmp"), "not a bitmap at all");
  RecordingHost host2;
  EXPECT_EQ(ConvertBmpFiles(dir.path(), {"x.bmp", "1.bmp"}, 95, host2), ConversionOutcome::Failed);
  EXPECT_EQ(host2.messages.back(), "TPxInternalDIB.LoadFromFile: File type is invalid");
  EXPECT_EQ(host2.status[0], "BMP→JPG 変換中");
}

}  // namespace
}  // namespace pictavo
