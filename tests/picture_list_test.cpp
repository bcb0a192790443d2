// The picture list's rules: refill, the move and selection commands, the
// next folder, the folder list's shape and the preview geometry.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fixtures.h"
#include "platform/paths.h"
#include "session/picture_list.h"
#include "test_util.h"

namespace pictavo {
namespace {

// "a b* c" lists the names, a star marking a selected entry.
std::vector<PictureEntry> List(const std::string& spec) {
  std::vector<PictureEntry> list;
  size_t start = 0;
  while (start < spec.size()) {
    size_t end = spec.find(' ', start);
    if (end == std::string::npos) end = spec.size();
    std::string word = spec.substr(start, end - start);
    const bool selected = !word.empty() && word.back() == '*';
    if (selected) word.pop_back();
    list.push_back({word, selected});
    start = end + 1;
  }
  return list;
}

std::string Spec(const std::vector<PictureEntry>& list) {
  std::string out;
  for (const auto& e : list) out += (out.empty() ? "" : " ") + e.name + (e.selected ? "*" : "");
  return out;
}

TEST(PictureList, RefillListsJpgFilesInNameOrderAllSelectedAndFindsThePage) {
  TempDir dir;
  for (const char* name : {"b.JPG", "a.jpg", "c.jpeg", "d.txt", "INDEX.HTM"}) WriteAll(dir.file(name), "x");
  ::mkdir(dir.file("e.jpg").c_str(), 0777);  // a folder is no picture
  PictureListRefill refill = RefillPictureList(dir.path(), "index.htm");
  ASSERT_TRUE(refill.ok);
  EXPECT_EQ(Spec(refill.pictures), "a.jpg* b.JPG*");
  EXPECT_TRUE(refill.pageFound);

  refill = RefillPictureList(dir.path(), "album.htm");
  EXPECT_FALSE(refill.pageFound);

  refill = RefillPictureList(dir.file("gone"), "index.htm");
  EXPECT_FALSE(refill.ok);
  EXPECT_NE(refill.error.find("gone"), std::string::npos);
  EXPECT_TRUE(refill.pictures.empty());
}

TEST(PictureList, MoveUpAndDownMoveSelectedEntriesAndBlocksWithTheirSelection) {
  auto list = List("a b* c* d e*");
  EXPECT_EQ(MoveUp(list), MoveResult::Moved);
  EXPECT_EQ(Spec(list), "b* c* a e* d");
  EXPECT_EQ(MoveUp(list), MoveResult::CannotMove);
  EXPECT_EQ(Spec(list), "b* c* a e* d");

  list = List("a* b c* d e");
  EXPECT_EQ(MoveDown(list), MoveResult::Moved);
  EXPECT_EQ(Spec(list), "b a* d c* e");
  EXPECT_EQ(MoveDown(list), MoveResult::Moved);
  EXPECT_EQ(Spec(list), "b d a* e c*");
  EXPECT_EQ(MoveDown(list), MoveResult::CannotMove);
  EXPECT_EQ(Spec(list), "b d a* e c*");

  // The first (last) entry selected: the message, and nothing changes.
  list = List("a* b c");
  EXPECT_EQ(MoveUp(list), MoveResult::CannotMove);
  EXPECT_EQ(Spec(list), "a* b c");

  std::vector<PictureEntry> empty;
  EXPECT_EQ(MoveUp(empty), MoveResult::Unchanged);
  EXPECT_EQ(MoveDown(empty), MoveResult::Unchanged);
  list = List("a b");
  EXPECT_EQ(MoveUp(list), MoveResult::Unchanged);
  EXPECT_EQ(MoveDown(list), MoveResult::Unchanged);
  list = List("a*");
  EXPECT_EQ(MoveDown(list), MoveResult::CannotMove);
}

TEST(PictureList, MoveToTopAndBottomKeepTheGapsBetweenSelectedEntries) {
  auto list = List("a b* c d* e");
  EXPECT_EQ(MoveToTop(list), MoveResult::Moved);
  EXPECT_EQ(Spec(list), "b* a d* c e");

  list = List("a b c* d* e");
  EXPECT_EQ(MoveToTop(list), MoveResult::Moved);
  EXPECT_EQ(Spec(list), "c* d* a b e");

  list = List("a b* c d* e");
  EXPECT_EQ(MoveToBottom(list), MoveResult::Moved);
  EXPECT_EQ(Spec(list), "a c b* e d*");

  // Nothing selected, or already there: no change and no message.
  list = List("a b c");
  EXPECT_EQ(MoveToTop(list), MoveResult::Unchanged);
  EXPECT_EQ(MoveToBottom(list), MoveResult::Unchanged);
  list = List("a* b c*");
  EXPECT_EQ(MoveToTop(list), MoveResult::Unchanged);
  EXPECT_EQ(MoveToBottom(list), MoveResult::Unchanged);
  EXPECT_EQ(Spec(list), "a* b c*");
}

TEST(PictureList, SelectAllNoneAndFirstSelected) {
  auto list = List("a b c* d*");
  EXPECT_EQ(FirstSelected(list), 2u);
  SelectNone(list);
  EXPECT_EQ(Spec(list), "a b c d");
  EXPECT_FALSE(FirstSelected(list));
  SelectAll(list);
  EXPECT_EQ(Spec(list), "a* b* c* d*");
  EXPECT_EQ(FirstSelected(list), 0u);
}

TEST(PictureList, ThePreviewShowsTheFirstSelectedPictureOfTheFolder) {
  auto list = List("a b* c*");
  EXPECT_EQ(PreviewPicturePath("/photos", list), "/photos/b");
  EXPECT_EQ(PreviewPicturePath("/photos/", list), "/photos/b");
  EXPECT_EQ(PreviewPicturePath("/", list), "/b");
  SelectNone(list);
  EXPECT_EQ(PreviewPicturePath("/photos", list), std::nullopt);
}

TEST(PictureList, NextFolderWalksTheSiblingsAndWrapsFromTheLast) {
  const std::vector<std::string> siblings{"1", "2", "3"};
  EXPECT_EQ(NextFolderAmong("/x/1", siblings), "/x/2");
  EXPECT_EQ(NextFolderAmong("/x/3", siblings), "/x/1");
  EXPECT_EQ(NextFolderAmong("/x/.hidden", siblings), "/");
  EXPECT_EQ(NextFolderAmong("/", {"a"}), "/");
  EXPECT_EQ(NextFolderAmong("/1", siblings), "/2");  // the root's own sub-folders: no "//"
  EXPECT_EQ(NextFolderAmong("/x/only", {"only"}), "/x/only");

  TempDir dir;
  for (const char* name : {"B", "a", "c", ".hidden"}) ::mkdir(dir.file(name).c_str(), 0777);
  WriteAll(dir.file("b.txt"), "x");  // files are no folders
  EXPECT_EQ(NextFolder(dir.file("a")), dir.file("B"));
  EXPECT_EQ(NextFolder(dir.file("B")), dir.file("c"));
  EXPECT_EQ(NextFolder(dir.file("c")), dir.file("a"));
  EXPECT_EQ(NextFolder("/"), "/");
}

TEST(PictureList, FolderListHoldsRootAncestorsCurrentAndSubFolders) {
  auto entries = FolderListEntries("/home/u", {"p", "q"});
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].path, "/");
  EXPECT_EQ(entries[1].path, "/home");
  EXPECT_EQ(entries[2].path, "/home/u");
  EXPECT_TRUE(entries[2].current);
  EXPECT_EQ(entries[2].level, 2);
  EXPECT_EQ(entries[3].path, "/home/u/p");
  EXPECT_EQ(entries[4].level, 3);

  entries = FolderListEntries("/", {"bin"});
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_TRUE(entries[0].current);
  EXPECT_EQ(entries[1].path, "/bin");
  EXPECT_EQ(entries[1].level, 1);
}

TEST(PictureList, PreviewFitsThe150BoxRoundingHalfToEvenAndCentres) {
  auto fit = PreviewFit(300, 200);
  EXPECT_EQ(fit.width, 150);
  EXPECT_EQ(fit.height, 100);
  fit = PreviewFit(200, 300);
  EXPECT_EQ(fit.width, 100);
  EXPECT_EQ(fit.height, 150);
  fit = PreviewFit(301, 201);  // 100.17
  EXPECT_EQ(fit.height, 100);
  fit = PreviewFit(300, 1);  // 0.5 rounds to even 0
  EXPECT_EQ(fit.height, 0);
  fit = PreviewFit(300, 3);  // 1.5 rounds to 2
  EXPECT_EQ(fit.height, 2);
  fit = PreviewFit(40, 40);  // square: the height is the box
  EXPECT_EQ(fit.width, 150);
  EXPECT_EQ(fit.height, 150);
  fit = PreviewFit(0, 10);
  EXPECT_EQ(fit.width, 0);

  EXPECT_EQ(CentreOffset(201, 150), 25);  // 100 - 75
  EXPECT_EQ(CentreOffset(151, 101), 25);  // 75 - 50
  EXPECT_EQ(CentreOffset(100, 150), -25);

  EXPECT_EQ(ClampSplitter(20, 502), 150);
  EXPECT_EQ(ClampSplitter(480, 502), 352);
  EXPECT_EQ(ClampSplitter(200, 502), 200);
  EXPECT_EQ(ClampSplitter(200, 250), 150);  // narrow window: the lower bound wins
}

}  // namespace
}  // namespace pictavo
