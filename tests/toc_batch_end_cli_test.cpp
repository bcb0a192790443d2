// How the table of contents and the batch end as a whole: a large thumbnail
// header is only read, and a bad setting stops a batch before any folder.

#include <gtest/gtest.h>

#include "cli_fixtures.h"
#include "fixtures.h"
#include "platform/paths.h"
#include "test_util.h"
#include "toc_test_util.h"

namespace pictavo {
namespace {

TEST(TocBatchEnd, AThumbnailHeaderOfAnySizeIsReadNotRefused) {
  TempDir dir;
  WriteAlbumWithThumbnail(dir.file("big"), "Big", 16, 16);
  WriteAlbumWithThumbnail(dir.file("small"), "Small", 160, 120);
  // The header declares 60000 x 50000: more than a decode would accept.
  std::string bytes = ReadAll(dir.file("big/htm_image/p.jpg"));
  const size_t sof = bytes.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  bytes[sof + 5] = static_cast<char>(50000 >> 8), bytes[sof + 6] = static_cast<char>(50000 & 0xFF);
  bytes[sof + 7] = static_cast<char>(60000 >> 8), bytes[sof + 8] = static_cast<char>(60000 & 0xFF);
  WriteAll(dir.file("big/htm_image/p.jpg"), bytes);

  const CliResult r = Cli({"toc", dir.path(), "--pictures", "--quiet"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto page = ReadCp932Lines(dir.file("index.htm"));
  EXPECT_NE(page[23].find("src=\"big/htm_image/p.jpg\" ALT=\"Big\" height=\"50000\" width=\"60000\" >"),
            std::string::npos)
      << page[23];
  EXPECT_NE(page[24].find("height=\"120\" width=\"160\""), std::string::npos) << page[24];
}

TEST(TocBatchEnd, ABadSettingEndsTheBatchBeforeTheFirstFolder) {
  TempDir dir;
  for (const char* f : {"a", "b"}) {
    ::mkdir(dir.file(f).c_str(), 0777);
    MakeJpeg(dir.file(f) + "/p.jpg", 20, 20);
  }
  for (const std::string set : {"thumbnailWidth=abc", "thumbnailHeight=0", "titleFontColor=red",
                                "thumbnailQuality=", "titleBackgroundColor=1.5"}) {
    const CliResult r = Cli({"batch", dir.path(), "--set", set});
    EXPECT_EQ(r.status, 1) << set;
    const std::string field = set.substr(0, set.find('='));
    // One message, naming the setting.
    EXPECT_EQ(r.err.find("設定 " + field), r.err.rfind("設定 ")) << r.err;
    EXPECT_NE(r.err.find("設定 " + field), std::string::npos) << r.err;
    EXPECT_EQ(ListDir(dir.file("a")), std::vector<std::string>{"p.jpg"}) << set;
    EXPECT_EQ(ListDir(dir.file("b")), std::vector<std::string>{"p.jpg"}) << set;
    EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"a", "b"})) << set;
  }
  EXPECT_EQ(Cli({"batch", dir.path(), "--quiet"}).status, 0);
  EXPECT_TRUE(FileExists(dir.file("index.htm")));
}

}  // namespace
}  // namespace pictavo
