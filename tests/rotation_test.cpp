// Rotation: the turns, the walk's counter and controls, and Save with its
// backup, read-only question, restored time and safety on failure.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "exif_builder.h"
#include "image/exif.h"
#include "image/jpeg.h"
#include "platform/paths.h"
#include "fixtures.h"
#include "status_testing.h"
#include "test_util.h"
#include "tools/rotation.h"

namespace pictavo {
namespace {

Bitmap Numbered(int w, int h) {
  Bitmap b = Bitmap::Create(w, h, 24);
  for (size_t i = 0; i < b.data.size(); ++i) b.data[i] = static_cast<uint8_t>(i * 7 + 1);
  return b;
}

uint32_t Px(const Bitmap& b, int x, int y) {
  const uint8_t* p = b.row(y) + 3 * x;
  return p[0] | p[1] << 8 | p[2] << 16;
}

TEST(Rotation, TurnsMovePixelsAsExpected) {
  const Bitmap src = Numbered(3, 2);  // a b c / d e f
  const Bitmap right = RotateRight(src);
  ASSERT_EQ(right.width, 2);
  ASSERT_EQ(right.height, 3);
  // rows d a, e b, f c
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(Px(right, 0, y), Px(src, y, 1));
    EXPECT_EQ(Px(right, 1, y), Px(src, y, 0));
  }
  const Bitmap left = RotateLeft(src);
  EXPECT_EQ(Px(left, 0, 2), Px(src, 0, 0));  // top-left goes to the bottom-left
  EXPECT_EQ(RotateLeft(right).data, src.data);
  EXPECT_EQ(RotateRight(RotateRight(RotateRight(right))).data, src.data);

  Bitmap grey = Bitmap::Create(2, 1, 8);
  grey.palette = Bitmap::GreyPalette();
  grey.data = {10, 200};
  const Bitmap g = RotateRight(grey);
  EXPECT_EQ(g.bitsPerPixel, 8);
  EXPECT_EQ(g.palette, grey.palette);
  EXPECT_EQ(g.row(1)[0], 200);
}

TEST(Rotation, PreviewAndCounter) {
  EXPECT_EQ(RotationPreviewSize(640, 480).height, 150);
  EXPECT_EQ(RotationPreviewSize(480, 640).width, 150);
  EXPECT_EQ(RotationPreviewSize(480, 640).height, 200);
  EXPECT_EQ(RotationCounterText(2, 15), "002/015");
  EXPECT_EQ(RotationCounterText(1234, 1500), "234/500");
}

class RotationFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings(settings);
    for (const char* n : {"a.jpg", "b.JPG", "c.jpg"}) {
      ASSERT_TRUE(Succeeded(WriteJpegFile(dir.file(n), Numbered(64, 48), 90)));
    }
  }
  Bitmap Decode(const std::string& name) {
    Bitmap b;
    JpegInfo info;
    EXPECT_TRUE(Succeeded(DecodeJpegFile(dir.file(name), b, info)));
    return b;
  }
  TempDir dir;
  AlbumSettings settings;
  RecordingHost host;
};

TEST_F(RotationFolder, WalksSelectedPicturesInListOrder) {
  std::vector<PictureEntry> list = {{"x.jpg", false}, {"a.jpg", true}, {"p.jpeg", true},
                                    {"b.JPG", true},  {"y.jpg", false}, {"c.jpg", true}};
  RotationWalk walk(host, settings);
  ASSERT_TRUE(walk.openList(dir.path(), list));
  EXPECT_FALSE(list[2].selected);  // not a ".jpg": deselected and not walked
  EXPECT_EQ(walk.counterText(), "001/003");
  EXPECT_EQ(host.status[2], "001/003");
  EXPECT_EQ(walk.currentName(), "a.jpg");
  EXPECT_EQ(walk.preview().width, 200);
  EXPECT_EQ(walk.preview().height, 150);
  EXPECT_FALSE(walk.controls().back);
  walk.back();  // on the first picture: only disables Back
  EXPECT_EQ(walk.currentName(), "a.jpg");
  walk.next();
  EXPECT_EQ(walk.counterText(), "002/003");
  EXPECT_TRUE(walk.controls().back);
  walk.next();
  EXPECT_EQ(walk.currentName(), "c.jpg");
  EXPECT_EQ(walk.counterText(), "003/003");
  EXPECT_FALSE(walk.controls().next);
  EXPECT_EQ(walk.controls().saveCaption, "保存して終了");
  walk.back();
  EXPECT_EQ(walk.currentName(), "b.JPG");
  EXPECT_EQ(walk.controls().saveCaption, "保存して次へ");
  walk.next();
  walk.next();  // past the last picture: the window closes
  EXPECT_FALSE(walk.controls().windowOpen);

  std::vector<PictureEntry> none = {{"a.bmp", true}};
  EXPECT_FALSE(walk.openList(dir.path(), none));
  EXPECT_EQ(host.messages.back(), "ファイルが選択されていません。");
}

TEST_F(RotationFolder, SaveTurnsKeepsOldestBackupAndTime) {
  struct stat before {};
  ::stat(dir.file("a.jpg").c_str(), &before);
  const time_t old = 1039242600;  // an even second
  struct timespec times[2] = {{0, UTIME_OMIT}, {old + 1, 0}};
  ::utimensat(AT_FDCWD, dir.file("a.jpg").c_str(), times, 0);
  ::chmod(dir.file("a.jpg").c_str(), 0640);
  const std::string original = ReadAll(dir.file("a.jpg"));

  std::vector<PictureEntry> list = {{"a.jpg", true}};
  RotationWalk walk(host, settings);
  walk.quality = 100;
  ASSERT_TRUE(walk.openList(dir.path(), list));
  walk.rotateRight();
  EXPECT_EQ(walk.preview().width, 150);
  ASSERT_EQ(walk.save(), SaveOutcome::Saved);
  EXPECT_FALSE(walk.controls().windowOpen);
  EXPECT_EQ(settings.rotationQuality, 95);

  const Bitmap saved = Decode("a.jpg");
  EXPECT_EQ(saved.width, 48);
  EXPECT_EQ(saved.height, 64);
  EXPECT_EQ(ReadAll(dir.file("_backup/a.jpg")), original);
  struct stat after {};
  ::stat(dir.file("a.jpg").c_str(), &after);
  EXPECT_EQ(after.st_mtime, old);  // back to the stamp, at 2-second resolution
  EXPECT_EQ(after.st_mode & 0777, 0640u);

  // A second save keeps the first backup.
  ASSERT_TRUE(walk.openList(dir.path(), list));
  walk.rotateLeft();
  ASSERT_EQ(walk.save(), SaveOutcome::Saved);
  EXPECT_EQ(ReadAll(dir.file("_backup/a.jpg")), original);
  EXPECT_EQ(Decode("a.jpg").width, 64);

  settings.rotationBackup = "off";
  ASSERT_TRUE(walk.openSingle(dir.path(), {"c.jpg", "b.JPG"}));
  EXPECT_EQ(walk.currentName(), "b.JPG");
  ASSERT_EQ(walk.save(), SaveOutcome::Saved);
  EXPECT_FALSE(FileExists(dir.file("_backup/b.JPG")));
}

TEST_F(RotationFolder, ReadOnlyPictureAsksFirst) {
  ::chmod(dir.file("a.jpg").c_str(), 0444);
  const std::string original = ReadAll(dir.file("a.jpg"));
  std::vector<PictureEntry> list = {{"a.jpg", true}};
  RotationWalk walk(host, settings);
  ASSERT_TRUE(walk.openList(dir.path(), list));
  walk.rotateRight();
  host.answers.clear();  // No
  EXPECT_EQ(walk.save(), SaveOutcome::Declined);
  EXPECT_EQ(host.questions.back(), "Pictavo|読み取り専用のファイルです。\r上書きしてよろしいですか？");
  EXPECT_EQ(ReadAll(dir.file("a.jpg")), original);
  EXPECT_TRUE(walk.controls().windowOpen);
  host.answers = {true};
  ASSERT_EQ(walk.save(), SaveOutcome::Saved);
  EXPECT_EQ(Decode("a.jpg").width, 48);
}

TEST_F(RotationFolder, FailureHalfWayLeavesThePhotographUnchanged) {
  const std::string original = ReadAll(dir.file("a.jpg"));
  std::vector<PictureEntry> list = {{"a.jpg", true}};
  RotationWalk walk(host, settings);
  // The disk fills up after 500 bytes of the new picture.
  walk.openSink = [](const std::string& path) {
    SinkOpening opened = OpenAtomicSink(path);
    if (opened.sink) opened.sink = std::make_unique<LimitedSink>(std::move(opened.sink), 500);
    return opened;
  };
  ASSERT_TRUE(walk.openList(dir.path(), list));
  walk.rotateRight();
  EXPECT_EQ(walk.save(), SaveOutcome::WriteFailed);
  EXPECT_EQ(host.messages.back(), "ファイルの書き込みでエラーが発生しました。");
  EXPECT_EQ(ReadAll(dir.file("a.jpg")), original);
  EXPECT_EQ(Decode("a.jpg").width, 64);
  EXPECT_TRUE(walk.controls().windowOpen);
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"_backup", "a.jpg", "b.JPG", "c.jpg"}));

  // The backup cannot be written: nothing is saved.
  walk.openSink = OpenAtomicSink;
  settings.rotationBackup = "on";
  std::vector<PictureEntry> list2 = {{"b.JPG", true}};
  TempDir other;
  WriteAll(other.file("_backup"), "a file where the folder should be");
  ASSERT_TRUE(Succeeded(WriteJpegFile(other.file("b.JPG"), Numbered(8, 4), 90)));
  const std::string before = ReadAll(other.file("b.JPG"));
  RotationWalk walk2(host, settings);
  ASSERT_TRUE(walk2.openList(other.path(), list2));
  walk2.rotateRight();
  EXPECT_EQ(walk2.save(), SaveOutcome::BackupFailed);
  EXPECT_EQ(host.messages.back(), "バックアップファイルの書き込みでエラーが発生しました。");
  EXPECT_EQ(ReadAll(other.file("b.JPG")), before);
}

TEST_F(RotationFolder, UndecodablePictureIsNeverOverwritten) {
  WriteAll(dir.file("b.JPG"), "broken");
  std::vector<PictureEntry> list = {{"a.jpg", true}, {"b.JPG", true}};
  RotationWalk walk(host, settings);
  ASSERT_TRUE(walk.openList(dir.path(), list));
  walk.next();
  EXPECT_EQ(walk.currentName(), "b.JPG");
  EXPECT_FALSE(host.messages.empty());
  EXPECT_EQ(walk.save(), SaveOutcome::WriteFailed);
  EXPECT_EQ(ReadAll(dir.file("b.JPG")), "broken");
}

TEST_F(RotationFolder, SaveKeepsTheMetadataAndWhatWasSeen) {
  // Stored sideways (64 x 48) with orientation 6: it is seen 48 x 64.
  const std::string exif("Exif\0\0II\x2a\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 32);
  const std::vector<JpegSegment> segments = {{0xE1, exif},
                                             {0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 34)},
                                             {0xE2, std::string("ICC_PROFILE\0\x01\x01icc", 17)},
                                             {0xFE, "taken by me"}};
  Bitmap stored = Bitmap::Create(64, 48, 24);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      uint8_t* p = stored.row(y) + 3 * x;
      p[0] = static_cast<uint8_t>(x * 4), p[1] = static_cast<uint8_t>(y * 5), p[2] = 128;
    }
  }
  std::string bytes;
  ASSERT_TRUE(Succeeded(EncodeJpeg(stored, 95, segments, bytes)));
  WriteAll(dir.file("a.jpg"), bytes);
  const Bitmap seen = ApplyOrientation(Decode("a.jpg"), 6);

  std::vector<PictureEntry> list = {{"a.jpg", true}};
  RotationWalk walk(host, settings);
  ASSERT_TRUE(walk.openList(dir.path(), list));
  EXPECT_EQ(walk.picture().width, 48);
  EXPECT_EQ(walk.preview().width, 150);
  EXPECT_EQ(walk.preview().height, 200);
  EXPECT_EQ(walk.picture().data, seen.data);
  ASSERT_EQ(walk.save(), SaveOutcome::Saved);  // turned zero times

  JpegInfo info;
  ASSERT_TRUE(Succeeded(ReadJpegInfo(dir.file("a.jpg"), info)));
  EXPECT_EQ(info.orientation, 1);
  EXPECT_EQ(info.width, 48);
  EXPECT_EQ(info.height, 64);
  std::vector<JpegSegment> kept;
  ASSERT_TRUE(Succeeded(ReadJpegMetadata(dir.file("a.jpg"), kept)));
  ASSERT_EQ(kept.size(), segments.size());
  std::string upright = exif;
  upright[6 + 8 + 2 + 8] = 1;
  EXPECT_EQ(kept[0].data, upright);
  for (size_t i = 1; i < kept.size(); ++i) EXPECT_EQ(kept[i], segments[i]);
  // The same picture everywhere: close to what a viewer showed before.
  const Bitmap after = Decode("a.jpg");
  long long diff = 0;
  for (size_t i = 0; i < after.data.size(); ++i) diff += std::abs(after.data[i] - seen.data[i]);
  EXPECT_LT(diff / static_cast<long long>(after.data.size()), 8);
}

// After a turn the EXIF speaks of the saved picture: its pixel size, and an
// embedded thumbnail made from it, upright, that file managers show.
TEST_F(RotationFolder, SaveRebuildsTheExifSizeAndThumbnail) {
  // 64 x 48, left half red, right half blue; its old thumbnail is grey.
  Bitmap stored = Bitmap::Create(64, 48, 24);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      uint8_t* p = stored.row(y) + 3 * x;
      p[0] = x < 32 ? 255 : 0, p[1] = 0, p[2] = x < 32 ? 0 : 255;
    }
  }
  Bitmap grey = Bitmap::Create(16, 12, 24);
  std::fill(grey.data.begin(), grey.data.end(), uint8_t{128});
  ExifSpec spec;
  spec.orientation = 1;
  ASSERT_TRUE(Succeeded(EncodeJpeg(grey, 80, spec.thumbnail)));
  std::string bytes;
  ASSERT_TRUE(Succeeded(EncodeJpeg(stored, 95, {{0xE1, BuildExif(spec)}}, bytes)));
  WriteAll(dir.file("a.jpg"), bytes);

  std::vector<PictureEntry> list = {{"a.jpg", true}};
  RotationWalk walk(host, settings);
  ASSERT_TRUE(walk.openList(dir.path(), list));
  walk.rotateRight();  // red on top, blue below: 48 x 64
  ASSERT_EQ(walk.save(), SaveOutcome::Saved);

  std::vector<JpegSegment> kept;
  ASSERT_TRUE(Succeeded(ReadJpegMetadata(dir.file("a.jpg"), kept)));
  ASSERT_EQ(kept.size(), 1u);
  const ExifFacts facts = ReadExifFacts(kept[0].data);
  EXPECT_EQ(facts.pixelX, 48u);
  EXPECT_EQ(facts.pixelY, 64u);
  EXPECT_TRUE(kept[0].data.find(spec.makerNote) != std::string::npos);
  Bitmap thumb;
  JpegInfo info;
  ASSERT_TRUE(Succeeded(
      DecodeJpegMemory(reinterpret_cast<const uint8_t*>(facts.thumbnail.data()), facts.thumbnail.size(), thumb, info)));
  EXPECT_EQ(thumb.width, 48);  // within 160 x 160, the picture itself
  EXPECT_EQ(thumb.height, 64);
  const uint8_t* top = thumb.row(4) + 3 * 24;
  const uint8_t* bottom = thumb.row(60) + 3 * 24;
  EXPECT_GT(top[0], 200);
  EXPECT_LT(top[2], 60);
  EXPECT_GT(bottom[2], 200);
  EXPECT_LT(bottom[0], 60);
}

}  // namespace
}  // namespace pictavo
