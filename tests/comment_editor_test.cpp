// The comment editor's data: the fill texts, the slots, commentsModified and
// saving through the comment file.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "image/jpeg.h"
#include "fixtures.h"
#include "platform/paths.h"
#include "status_testing.h"
#include "test_util.h"
#include "text/chars.h"
#include "comments/comment_editor.h"

namespace pictavo {
namespace {

std::tm Local(int y, int mo, int d, int h, int mi, int s) {
  std::tm t{};
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  return t;
}

TEST(CommentTexts, DateTimeSizeAndDimensions) {
  const std::string afternoon = CommentDateTimeText(Local(2002, 12, 7, 14, 30, 0));
  EXPECT_EQ(afternoon, "02/12/07 午後 2:30:00");
  EXPECT_EQ(CommentDateText(afternoon), "02/12/07");
  EXPECT_EQ(CommentTimeText(afternoon), "午後 2:30:00");
  const std::string noon = CommentDateTimeText(Local(2002, 12, 7, 12, 5, 0));
  EXPECT_EQ(CommentTimeText(noon), "午後 12:05:00");
  EXPECT_EQ(CommentTimeText(CommentDateTimeText(Local(2010, 1, 2, 0, 0, 1))), "午前 12:00:01");
  EXPECT_EQ(CommentDateTimeText(Local(2010, 1, 2, 0, 0, 0)), "10/01/02");
  EXPECT_EQ(CommentTimeText(CommentDateTimeText(Local(2010, 1, 2, 9, 7, 3))), "午前 9:07:03");

  EXPECT_EQ(CommentSizeText(123456), "120.6KB");
  EXPECT_EQ(CommentSizeText(1000), "1.0KB");
  EXPECT_EQ(CommentSizeText(51), "0.0KB");
  EXPECT_EQ(CommentDimensionText(640, 480), "(640,480)");
  const PreviewBox box = CommentPreviewBox(640, 480);
  EXPECT_EQ(box.width, 150);
  EXPECT_EQ(box.height, 112);  // 112.5 rounds to the even neighbour
  EXPECT_EQ(box.left, 8);
  EXPECT_EQ(box.top, 95 - 56 + 10);
}

class CommentFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Succeeded(WriteJpegFile(dir.file("b.jpg"), Bitmap::Create(64, 48, 24), 80)));
    ASSERT_TRUE(Succeeded(WriteJpegFile(dir.file("A.JPG"), Bitmap::Create(8, 8, 24), 80)));
    WriteAll(dir.file("notes.txt"), "x");
  }
  TempDir dir;
  RecordingHost host;
};

TEST_F(CommentFolder, OpensWithEmptyCommentsAndSavesOneRecordEach) {
  CommentEditor editor(host);
  editor.openFolder(dir.path());
  EXPECT_EQ(editor.files(), (std::vector<std::string>{"A.JPG", "b.jpg"}));
  EXPECT_EQ(editor.selected(), 0);
  EXPECT_EQ(editor.fileCountText(), "ファイル数：2");
  EXPECT_EQ(editor.comment1, "");
  ASSERT_TRUE(editor.save());
  EXPECT_EQ(host.messages.back(), "コメントファイルを保存しました。");
  EXPECT_EQ(ReadCp932Lines(dir.file("PicComment.txt")).size(), 8u);
}

TEST_F(CommentFolder, FillCommandsAndModifiedFlag) {
  CommentEditor editor(host);
  editor.openFolder(dir.path());
  editor.select(1);
  editor.fillSelected(FillWhat::Name);
  EXPECT_EQ(editor.comment1, "b.jpg");
  editor.noExtension = true;
  editor.fillSelected(FillWhat::Name);
  EXPECT_EQ(editor.comment1, "b");
  EXPECT_EQ(editor.commentSlots()[1].comment1, "b");
  EXPECT_FALSE(editor.commentsModified());

  WriteAll(dir.file("c.jpg"), "");  // not yet listed
  const off_t size = static_cast<off_t>(ReadAll(dir.file("b.jpg")).size());
  editor.addDimensions = true;
  editor.fillSelected(FillWhat::NameSize);
  EXPECT_EQ(editor.comment2, CommentSizeText(size) + " (64,48)");

  // A read-only file still gives its size.
  ::chmod(dir.file("A.JPG").c_str(), 0444);
  editor.addDimensions = false;
  ASSERT_TRUE(editor.fillAll(FillWhat::DateTime));
  EXPECT_EQ(CharLength(editor.commentSlots()[0].comment1), 8);
  EXPECT_FALSE(editor.commentsModified());

  // Only Button2 sets the flag; saving leaves it set; Open1 asks then.
  editor.comment1 = "first";
  editor.update();
  EXPECT_TRUE(editor.commentsModified());
  ASSERT_TRUE(editor.save());
  EXPECT_TRUE(editor.commentsModified());
  const auto same = [this] { return std::optional<std::string>(dir.path()); };
  host.answers.clear();  // No
  editor.openOther(same);
  EXPECT_EQ(host.questions.back(), "Pictavo|コメントが修正されています。\rファイルを保存しますか？");
  EXPECT_FALSE(editor.commentsModified());
  EXPECT_EQ(editor.selected(), -1);
  EXPECT_EQ(editor.files().size(), 3u);
  EXPECT_EQ(editor.commentSlots()[1].comment1, "first");  // read back from the saved file
  const size_t asked = host.questions.size();
  editor.fillSelected(FillWhat::Date);  // nothing selected: nothing changes
  editor.openOther(same);
  EXPECT_EQ(host.questions.size(), asked);

  // A picture that cannot be decoded ends the fill with its error.
  editor.addDimensions = true;
  EXPECT_FALSE(editor.fillAll(FillWhat::Size));
  EXPECT_FALSE(host.messages.empty());
  EXPECT_NE(editor.commentSlots()[0].comment1, "");
}

TEST_F(CommentFolder, FieldsAlwaysShowTheSelectedEntrysComments) {
  WriteAll(dir.file("c.jpg"), "not a picture");
  CommentEditor editor(host);
  editor.openFolder(dir.path());
  EXPECT_EQ(editor.picture().width, 8);  // decoded once, for the window too
  editor.comment1 = "for A";
  editor.update();
  ASSERT_FALSE(editor.select(2));  // cannot be decoded
  EXPECT_EQ(editor.selected(), 2);
  EXPECT_EQ(editor.comment1, "");  // c.jpg's own, not A.JPG's
  EXPECT_TRUE(editor.picture().empty());
  editor.update();
  EXPECT_EQ(editor.commentSlots()[0].comment1, "for A");

  // An "all files" fill reports each entry, then shows the selected one's.
  ASSERT_TRUE(editor.select(1));
  std::vector<std::string> seen;
  ASSERT_TRUE(editor.fillAll(FillWhat::Name, [&](int i, const Bitmap* picture) {
    EXPECT_EQ(picture, nullptr);
    seen.push_back(std::to_string(i) + editor.comment1);
  }));
  EXPECT_EQ(seen, (std::vector<std::string>{"0A.JPG", "1b.jpg", "2c.jpg"}));
  EXPECT_EQ(editor.comment1, "b.jpg");
  EXPECT_EQ(editor.picture().width, 64);

  // With dimensions each decoded picture is passed on; a failure stops there
  // and the fields still return to the selected entry.
  editor.addDimensions = true;
  std::vector<int> widths;
  EXPECT_FALSE(editor.fillAll(FillWhat::Size, [&](int, const Bitmap* picture) {
    ASSERT_NE(picture, nullptr);
    widths.push_back(picture->width);
  }));
  EXPECT_EQ(widths, (std::vector<int>{8, 64}));
  EXPECT_EQ(editor.comment1, editor.commentSlots()[1].comment1);
  EXPECT_EQ(editor.picture().width, 64);
}

TEST_F(CommentFolder, OpenOtherAsksFirstAndACancelKeepsTheEdits) {
  TempDir other;
  ASSERT_TRUE(Succeeded(WriteJpegFile(other.file("z.jpg"), Bitmap::Create(4, 4, 24), 80)));
  CommentEditor editor(host);
  editor.openFolder(dir.path());
  editor.comment1 = "kept";
  editor.update();
  size_t askedBeforeChoosing = 99;
  host.answers = {false};
  EXPECT_FALSE(editor.openOther([&] {
    askedBeforeChoosing = host.questions.size();
    return std::optional<std::string>();
  }));
  EXPECT_EQ(askedBeforeChoosing, 1u);  // the question came first
  EXPECT_EQ(editor.folder(), dir.path());
  EXPECT_EQ(editor.commentSlots()[0].comment1, "kept");
  EXPECT_TRUE(editor.commentsModified());
  EXPECT_FALSE(FileExists(dir.file("PicComment.txt")));

  // Yes saves into the folder shown so far, then the chosen one is read.
  host.answers = {true};
  EXPECT_TRUE(editor.openOther([&] { return std::optional<std::string>(other.path()); }));
  EXPECT_EQ(ReadCp932Lines(dir.file("PicComment.txt"))[2], "kept");
  EXPECT_EQ(editor.files(), (std::vector<std::string>{"z.jpg"}));
  EXPECT_EQ(editor.selected(), -1);
  EXPECT_FALSE(editor.commentsModified());
}

TEST_F(CommentFolder, UnsavedChangesAreOfferedForSavingBeforeTheyGo) {
  CommentEditor editor(host);
  editor.openFolder(dir.path());
  EXPECT_TRUE(editor.settleUnsavedChanges());
  EXPECT_TRUE(host.questions.empty());

  // A fill counts as a change here, though it leaves commentsModified alone.
  editor.fillSelected(FillWhat::Name);
  EXPECT_TRUE(editor.hasUnsavedChanges());
  host.answers = {false};
  EXPECT_TRUE(editor.settleUnsavedChanges());
  EXPECT_EQ(host.questions.back(), "Pictavo|コメントが修正されています。\rファイルを保存しますか？");
  EXPECT_FALSE(editor.hasUnsavedChanges());
  EXPECT_FALSE(FileExists(dir.file("PicComment.txt")));

  editor.comment2 = "second";
  editor.update();
  host.answers = {true};
  EXPECT_TRUE(editor.settleUnsavedChanges());
  EXPECT_EQ(ReadCp932Lines(dir.file("PicComment.txt"))[3], "second");
  EXPECT_FALSE(editor.hasUnsavedChanges());
}

}  // namespace
}  // namespace pictavo
