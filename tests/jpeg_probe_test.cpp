#include "image/jpeg_probe.h"

#include <gtest/gtest.h>

#include "fixtures.h"
#include "image/jpeg.h"
#include "platform/paths.h"
#include "status_testing.h"
#include "test_util.h"

namespace pictavo {
namespace {

// Whatever libjpeg's header reader accepts in a whole file, the probe
// accepts with the same size and orientation.
void ExpectAgrees(const std::string& path) {
  SCOPED_TRACE(path);
  JpegInfo info;
  ASSERT_TRUE(Succeeded(ReadJpegInfo(path, info)));
  const JpegProbe probe = ProbeJpegFile(path);
  ASSERT_TRUE(probe.ok) << probe.error;
  EXPECT_EQ(probe.width, info.width);
  EXPECT_EQ(probe.height, info.height);
  EXPECT_EQ(probe.orientation, info.orientation);
}

TEST(JpegProbe, AgreesWithTheDecodersHeaderReader) {
  TempDir dir;
  int n = 0;
  for (int orientation : {1, 6, 8}) {
    for (bool progressive : {false, true}) {
      JpegOptions o;
      o.orientation = orientation;
      o.progressive = progressive;
      o.grey = orientation == 8;
      const std::string path = dir.file("p" + std::to_string(n++) + ".jpg");
      MakeJpeg(path, 37 + n, 21, o);
      ExpectAgrees(path);
    }
  }
  for (const char* folder : {"/fuzz/seeds/jpeg_header", "/fuzz/seeds/thumbnail", "/tests/data/progressive-strips"}) {
    const std::string base = std::string(PICTAVO_SOURCE_DIR) + folder;
    for (const auto& name : ListDir(base)) ExpectAgrees(base + "/" + name);
  }
}

TEST(JpegProbe, CutDamagedAndForeignFilesAreRefused) {
  TempDir dir;
  MakeJpeg(dir.file("whole.jpg"), 120, 90);
  const std::string bytes = ReadAll(dir.file("whole.jpg"));
  const std::pair<std::string, std::string> cases[] = {
      {"", "not a JPEG file"},
      {"GIF89a", "not a JPEG file"},
      {bytes.substr(0, 2), "the file ends inside its header"},
      {bytes.substr(0, 40), "the file ends inside its header"},
      {bytes.substr(0, bytes.size() - 1), "the file ends before the end of its picture"},
      {bytes.substr(0, 2) + "\xFF\xD9", "no picture data"},
      {bytes.substr(0, 2) + std::string("\xFF\xE0\x00\x01", 4), "damaged header"},
      {bytes.substr(0, 2) + "junk", "damaged header"},
      {bytes.substr(0, 2) + std::string("\xFF\xDA\x00\x02\xFF\xD9", 6), "no picture size in the header"},
  };
  for (const auto& [content, why] : cases) {
    WriteAll(dir.file("x.jpg"), content);
    const JpegProbe probe = ProbeJpegFile(dir.file("x.jpg"));
    EXPECT_FALSE(probe.ok);
    EXPECT_EQ(probe.error, why) << content.size();
  }
  EXPECT_FALSE(ProbeJpegFile(dir.file("absent.jpg")).ok);
  EXPECT_FALSE(ProbeJpegFile(dir.path()).ok);  // a folder
  // A header beyond the first read (a large EXIF block before the frame) is read on.
  std::string padded = bytes.substr(0, 2);
  for (int i = 0; i < 3; ++i) padded += std::string("\xFF\xE2\xFF\xFF", 4) + std::string(65533, 'x');
  WriteAll(dir.file("padded.jpg"), padded + bytes.substr(2));
  const JpegProbe probe = ProbeJpegFile(dir.file("padded.jpg"));
  EXPECT_TRUE(probe.ok) << probe.error;
  EXPECT_EQ(probe.width, 120);
}

}  // namespace
}  // namespace pictavo
