// The fuzz targets' checks over their seeds and every input a fuzzer found
// (tests/data/<target>-fuzz/): what once crashed or broke a property stays
// handled.

#include <gtest/gtest.h>

#include "checks.h"
#include "platform/paths.h"
#include "test_util.h"

namespace pictavo {
namespace {

using Check = std::string (*)(const uint8_t*, size_t);

int RunOver(const std::string& folder, Check check) {
  int count = 0;
  if (!FolderExists(folder)) return 0;  // no findings kept for this target
  for (const auto& name : ListDir(folder)) {
    const std::string bytes = ReadAll(folder + "/" + name);
    EXPECT_EQ(check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "") << folder << "/" << name;
    ++count;
  }
  return count;
}

TEST(FuzzFindings, EveryTargetsSeedsAndFindingsAreHandled) {
  const std::pair<const char*, Check> targets[] = {
      {"thumbnail", fuzz::CheckThumbnail}, {"jpeg_header", fuzz::CheckJpegHeader},
      {"settings", fuzz::CheckSettings},   {"comments", fuzz::CheckComments},
      {"album_page", fuzz::CheckAlbumPage}, {"site_page", fuzz::CheckSitePage},
      {"cp932", fuzz::CheckCp932},          {"bmp", fuzz::CheckBmp},
      {"exif", fuzz::CheckExifOrientation}, {"location", fuzz::CheckLocation},
      {"hand_over", fuzz::CheckHandOver},
      {"exif", fuzz::CheckExifRewrite},
  };
  for (const auto& [name, check] : targets) {
    SCOPED_TRACE(name);
    const std::string root = PICTAVO_SOURCE_DIR;
    int inputs = RunOver(root + "/fuzz/seeds/" + name, check);
    inputs += RunOver(root + "/tests/data/" + std::string(name) + "-fuzz", check);
    EXPECT_GT(inputs, 0);
  }
}

// The thumbnail check also runs over each seed with every mode byte: every
// box, with and without the filter, made and kept.
TEST(FuzzFindings, ThumbnailSeedsInEveryMode) {
  const std::string folder = std::string(PICTAVO_SOURCE_DIR) + "/fuzz/seeds/thumbnail";
  for (const auto& name : ListDir(folder)) {
    const std::string bytes = ReadAll(folder + "/" + name);
    for (int mode = 0; mode < 16; ++mode) {
      const std::string input = std::string(1, static_cast<char>(mode)) + bytes;
      EXPECT_EQ(fuzz::CheckThumbnail(reinterpret_cast<const uint8_t*>(input.data()), input.size()), "")
          << name << " mode " << mode;
    }
  }
}

}  // namespace
}  // namespace pictavo
