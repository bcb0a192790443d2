#include <gtest/gtest.h>

#include <sys/stat.h>

#include "settings/album_settings.h"
#include "status_testing.h"
#include "test_util.h"
#include "toc_test_util.h"
#include "toc/discovery.h"

namespace pictavo {
namespace {

TEST(Discovery, BothMarkersAndNearMisses) {
  EXPECT_TRUE(IsAlbumPage("<!-- Pictavo Version 2.02 -->"));
  EXPECT_TRUE(IsAlbumPage("<!-- Lumetto Version 1.10 -->"));
  EXPECT_TRUE(IsAlbumPage("<!-- Lumetto"));
  EXPECT_TRUE(IsAlbumPage("<!-- Pictavoish"));  // only the beginning is compared
  EXPECT_FALSE(IsAlbumPage("<!-- pictavo Version 2.02 -->"));
  EXPECT_FALSE(IsAlbumPage("<!-- LUMETTO Version 1.10 -->"));
  EXPECT_FALSE(IsAlbumPage(" <!-- Pictavo Version 2.02 -->"));
  EXPECT_FALSE(IsAlbumPage("<!--Pictavo Version 2.02 -->"));
  EXPECT_FALSE(IsAlbumPage("<!-- Pictav"));
  EXPECT_FALSE(IsAlbumPage(""));
}

TEST(Discovery, FieldsAreCutByPositionOnly) {
  TempDir dir;
  AlbumHead head;

  const std::string page = dir.file("a.htm");
  WriteCp932Lines(page, {"<!DOCTYPE>", "<!-- Pictavo Version 2.02 -->", "<!-- FILE=012 a.jpg -->",
                         "<!--   2026.1.7 -->", "<HTML>", "<HEAD>", "<TITLE>旅行</TITLE>"});
  ASSERT_TRUE(Succeeded(ReadAlbumHead(page, head)));
  EXPECT_TRUE(head.recognised);
  EXPECT_EQ(head.fields.fileCount, "012");
  EXPECT_EQ(head.fields.thumbnailName, "a.jpg");
  EXPECT_EQ(head.fields.createdDate, "  2026.1.7");  // eight characters right-aligned in ten
  EXPECT_EQ(head.fields.title, "旅行");              // a 17-character line 7

  // A table-of-contents page has no thumbnail name in its FILE line.
  WriteCp932Lines(page, {"<!DOCTYPE>", "<!-- Lumetto Version 1 -->", "<!-- FILE=005 -->", "", "", "", "<TITLE></TITLE>"});
  ASSERT_TRUE(Succeeded(ReadAlbumHead(page, head)));
  EXPECT_EQ(head.fields.fileCount, "005");
  EXPECT_EQ(head.fields.thumbnailName, "");
  EXPECT_EQ(head.fields.title, "");

  // Short lines: a start beyond the end takes the last character; a negative count gives nothing.
  WriteCp932Lines(page, {"<!DOCTYPE>", "<!-- Pictavo", "<!-- F", "<!--", "", "", "<T>"});
  ASSERT_TRUE(Succeeded(ReadAlbumHead(page, head)));
  EXPECT_EQ(head.fields.fileCount, "F");
  EXPECT_EQ(head.fields.thumbnailName, "");
  EXPECT_EQ(head.fields.createdDate, "-");
  EXPECT_EQ(head.fields.title, "");

  // A page of two lines is an album with every field empty.
  WriteCp932Lines(page, {"<!DOCTYPE>", "<!-- Pictavo Version 2.02 -->"});
  ASSERT_TRUE(Succeeded(ReadAlbumHead(page, head)));
  EXPECT_TRUE(head.recognised);
  EXPECT_EQ(head.fields.fileCount + head.fields.thumbnailName + head.fields.createdDate + head.fields.title, "");

  const Status missing = ReadAlbumHead(dir.file("missing.htm"), head);
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.reason().find("missing.htm"), std::string::npos);
  EXPECT_EQ(missing.code(), ErrorCode::NotFound);
}

TEST(Discovery, CandidatesInCaseInsensitiveOrderWithoutHiddenOrDeepFolders) {
  TempDir dir;
  for (const char* name : {"Gamma", "Beta", "alpha", ".hidden"}) WriteAlbumPage(dir.file(name), name, "001", "x.jpg");
  ::mkdir(dir.file("delta").c_str(), 0777);
  WriteAlbumPage(dir.file("delta/deep"), "deep", "001", "x.jpg");       // two levels down
  WriteAlbumPage(dir.file("other"), "other", "001", "x.jpg", "<!-- Pictavo Version 2.02 -->", "top.htm");
  ::mkdir(dir.file("folderpage").c_str(), 0777);
  ::mkdir(dir.file("folderpage/index.htm").c_str(), 0777);            // a folder of the page's name
  WriteAlbumPage(dir.file("plain"), "plain", "001", "x.jpg", "<!-- made by hand -->");

  const DiscoveryResult r = DiscoverAlbums(dir.path(), AlbumSettings{}, false);
  ASSERT_EQ(r.status, DiscoveryStatus::Found);
  ASSERT_EQ(r.albumCount, 3u);
  EXPECT_EQ(r.albums[0].folderName, "alpha");
  EXPECT_EQ(r.albums[1].folderName, "Beta");
  EXPECT_EQ(r.albums[2].folderName, "Gamma");
  EXPECT_EQ(r.albums[1].title, "Beta");
  EXPECT_EQ(r.firstAlbumFolder, "alpha");

  // The live page name decides: under another name only "other" is an album.
  AlbumSettings s = AlbumSettings{};
  s.htmlFileName = "top.htm";
  const DiscoveryResult other = DiscoverAlbums(dir.path(), s, false);
  ASSERT_EQ(other.albumCount, 1u);
  EXPECT_EQ(other.albums[0].folderName, "other");
}

TEST(Discovery, NoSubfoldersAndNoAlbums) {
  TempDir dir;
  WriteAll(dir.file("index.htm"), "x");
  ::mkdir(dir.file(".hidden").c_str(), 0777);
  EXPECT_EQ(DiscoverAlbums(dir.path(), AlbumSettings{}, false).status, DiscoveryStatus::NoSubfolders);
  ::mkdir(dir.file("empty").c_str(), 0777);
  EXPECT_EQ(DiscoverAlbums(dir.path(), AlbumSettings{}, false).status, DiscoveryStatus::NoAlbums);
  EXPECT_EQ(DiscoverAlbums(dir.file("gone"), AlbumSettings{}, false).status, DiscoveryStatus::Failed);
}

TEST(Discovery, ThumbnailSizesFromTheJpegHeader) {
  TempDir dir;
  WriteAlbumPage(dir.file("a"), "A", "002", "p.jpg");
  ::mkdir(dir.file("a/htm_image").c_str(), 0777);
  MakeJpeg(dir.file("a/htm_image/p.jpg"), 150, 101);
  WriteAlbumPage(dir.file("b"), "B", "001", "missing.jpg");

  DiscoveryResult r = DiscoverAlbums(dir.path(), AlbumSettings{}, true);
  ASSERT_EQ(r.albumCount, 2u);
  EXPECT_TRUE(r.albums[0].hasThumbnailSize);
  EXPECT_EQ(r.albums[0].thumbnailWidth, 150);
  EXPECT_EQ(r.albums[0].thumbnailHeight, 101);
  EXPECT_FALSE(r.albums[1].hasThumbnailSize);
  EXPECT_FALSE(DiscoverAlbums(dir.path(), AlbumSettings{}, false).albums[0].hasThumbnailSize);

  // A thumbnail that is not a JPEG ends discovery with a text naming it.
  WriteAll(dir.file("a/htm_image/p.jpg"), "not a picture");
  r = DiscoverAlbums(dir.path(), AlbumSettings{}, true);
  EXPECT_EQ(r.status, DiscoveryStatus::Failed);
  EXPECT_NE(r.error.find("a/htm_image/p.jpg"), std::string::npos) << r.error;
  int width = 0, height = 0;
  const Status damaged = ReadThumbnailSize(dir.file("a/htm_image/p.jpg"), width, height);
  EXPECT_EQ(damaged.reason(), r.error);
  EXPECT_EQ(damaged.code(), ErrorCode::Damaged);
  EXPECT_EQ(ReadThumbnailSize(dir.file("b/htm_image/missing.jpg"), width, height).code(), ErrorCode::NotFound);
}

TEST(Discovery, FolderTitleIsTheLastComponent) {
  EXPECT_EQ(FolderTitle("/home/u/trips"), "trips");
  EXPECT_EQ(FolderTitle("/"), "");
}

}  // namespace
}  // namespace pictavo
