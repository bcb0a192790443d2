#include <gtest/gtest.h>

#include <sys/stat.h>

#include "album/run_extras.h"
#include "fixtures.h"
#include "comments/comment_file.h"
#include "platform/file_copy.h"
#include "platform/paths.h"
#include "settings/settings_file.h"
#include "test_util.h"
#include "text/encoding.h"

namespace pictavo {
namespace {

// The fixture's host, also noting when the comment editor is opened.
class ExtrasHost : public RecordingHost {
 public:
  void openCommentEditor() override { ++editorOpened; }
  int editorOpened = 0;
};

// An album folder with two small pictures and a program folder beside it.
struct Album {
  TempDir dir;
  std::string folder = dir.file("Trip");
  AlbumSettings settings;
  MainValues main;
  std::vector<PictureEntry> pictures{{"a.jpg", true}, {"b.jpg", true}};
  ExtrasHost host;
  SettingsLines lines;

  Album() {
    MakeFolders(folder);
    MakeFolders(dir.file("home/inifile"));
    for (const auto& p : pictures) MakeJpeg(FolderBase(folder) + p.name, 20, 10);
    main.programFolder = dir.file("home");
    main.currentFolder = folder;
    main.albumTitle = "Trip";
    settings.noBrowserPrompt = "on";
  }
  RunOutcome run() {
    AlbumRunState state{settings, main, pictures, host, settings.picturesPerRow, CivilDate{2026, 12, 8}, {}, {}, {}, true};
    AlbumRunExtras extras;
    return AlbumRun(state, extras);
  }
  std::string page() const { return Cp932ToUtf8(ReadAll(FolderBase(folder) + "index.htm")); }
  std::string thumbs(const std::string& name) const { return FolderBase(folder) + "htm_image/" + name; }
};

TEST(RunExtras, MissingCommentFileEndsTheRunAfterTheQuestion) {
  for (const bool yes : {false, true}) {
    Album a;
    a.main.addComments = true;
    a.host.answers = {yes};
    EXPECT_EQ(a.run(), RunOutcome::Failed);
    EXPECT_EQ(a.host.questions, std::vector<std::string>{std::string("Pictavo|") + RenderMessage(msg::kCommentFileMissing)});
    EXPECT_EQ(a.host.editorOpened, yes ? 1 : 0);
    EXPECT_EQ(a.host.endings, std::vector<bool>{true});
    EXPECT_FALSE(PathExists(FolderBase(a.folder) + "index.htm"));
    EXPECT_FALSE(PathExists(a.thumbs("")));
  }
}

TEST(RunExtras, CommentRowsComeFromTheCommentFile) {
  Album a;
  Message writeError;
  ASSERT_EQ(WriteCommentFile(a.folder, {"B.JPG", "a.jpg", "a.jpg"}, {{"海の日", "second"}, {"old comment", ""}, {"new comment", ""}}, writeError),
            CommentWriteResult::Saved);
  a.main.addComments = true;
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  const std::string page = a.page();
  EXPECT_NE(page.find("海の日"), std::string::npos);
  EXPECT_NE(page.find("second"), std::string::npos);
  EXPECT_NE(page.find("new comment"), std::string::npos);
  EXPECT_EQ(page.find("old comment"), std::string::npos);

  // Without the switch the file is read but no comment rows are written.
  Album b;
  ASSERT_EQ(WriteCommentFile(b.folder, {"a.jpg"}, {{"hidden text", ""}}, writeError), CommentWriteResult::Saved);
  EXPECT_EQ(b.run(), RunOutcome::Completed);
  EXPECT_EQ(b.page().find("hidden text"), std::string::npos);
}

TEST(RunExtras, AutoSaveWritesThePerFolderFileAndAsksBeforeReplacing) {
  Album a;
  a.settings.autoSaveSettings = "on";
  a.settings.headerComment = "saved by the run";
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  const std::string target = a.dir.file("home/inifile/Trip.ini");
  EXPECT_NE(Cp932ToUtf8(ReadAll(target)).find("saved by the run"), std::string::npos);
  EXPECT_TRUE(a.host.questions.empty());

  a.settings.headerComment = "changed";
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(a.host.questions, std::vector<std::string>{RenderMessage(msg::kAutoSaveCaption) + "|" + RenderMessage(msg::kAutoSaveQuestion)});
  EXPECT_NE(Cp932ToUtf8(ReadAll(target)).find("saved by the run"), std::string::npos);

  // A write that fails is not shown and the run goes on.
  Album b;
  b.settings.autoSaveSettings = "on";
  b.main.programFolder = b.dir.file("nowhere");
  EXPECT_EQ(b.run(), RunOutcome::Completed);
}

TEST(RunExtras, BackgroundPictureIsCopiedAndRenamedByItsExtension) {
  Album a;
  WriteAll(a.dir.file("Sky.JPG"), std::string(9000, 'x'));
  WriteAll(a.dir.file("back.gif"), "gif");
  a.settings.backgroundPattern = "on";
  a.settings.backgroundFile = a.dir.file("Sky.JPG");
  ASSERT_TRUE(MakeFolders(a.thumbs("")));
  WriteAll(a.thumbs("back.gif"), "stale");
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(ReadAll(a.thumbs("back.jpg")), std::string(9000, 'x'));
  EXPECT_EQ(ListDir(a.thumbs("")), (std::vector<std::string>{"a.jpg", "b.jpg", "back.jpg"}));
  EXPECT_EQ(ReadAll(a.dir.file("Sky.JPG")), std::string(9000, 'x'));

  // A background already named back.jpg survives its own renaming.
  WriteAll(a.dir.file("back.jpg"), "own");
  a.settings.backgroundFile = a.dir.file("back.jpg");
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(ReadAll(a.thumbs("back.jpg")), "own");

  // Other extensions keep their name; .gif becomes back.gif.
  WriteAll(a.dir.file("pattern.jpeg"), "jpeg");
  a.settings.backgroundFile = a.dir.file("pattern.jpeg");
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(ListDir(a.thumbs("")), (std::vector<std::string>{"a.jpg", "b.jpg", "pattern.jpeg"}));
  a.settings.backgroundFile = a.dir.file("back.gif");
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(ReadAll(a.thumbs("back.gif")), "gif");
  EXPECT_TRUE(a.host.messages.empty());

  // A background chosen inside the thumbnail folder is copied, not moved:
  // the next run with the same settings still finds it.
  WriteAll(a.thumbs("tile.jpg"), "tile");
  a.settings.backgroundFile = a.thumbs("tile.jpg");
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(a.run(), RunOutcome::Completed);
    EXPECT_EQ(ReadAll(a.thumbs("tile.jpg")), "tile");
    EXPECT_EQ(ReadAll(a.thumbs("back.jpg")), "tile");
  }
  EXPECT_TRUE(a.host.messages.empty());
  // So is one named back.gif there, which keeps its place.
  a.settings.backgroundFile = a.thumbs("back.gif");
  WriteAll(a.thumbs("back.gif"), "gif in place");
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(ReadAll(a.thumbs("back.gif")), "gif in place");
  EXPECT_FALSE(PathExists(a.thumbs("back.jpg")));

  // A missing file is reported and the run goes on.
  a.settings.backgroundFile = a.dir.file("none.jpg");
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(a.host.messages, std::vector<std::string>{RenderMessage(msg::kBackgroundMissing)});

  // A copy that cannot be made ends the run before the page.
  Album b;
  WriteAll(b.dir.file("Sky.jpg"), "sky");
  b.settings.backgroundPattern = "on";
  b.settings.backgroundFile = b.dir.file("Sky.jpg");
  ASSERT_TRUE(MakeFolders(b.thumbs("Sky.jpg/inside")));
  EXPECT_EQ(b.run(), RunOutcome::Failed);
  EXPECT_EQ(b.host.messages, std::vector<std::string>{RenderMessage(msg::kWriteError)});
  EXPECT_EQ(b.host.endings, std::vector<bool>{true});
  EXPECT_FALSE(PathExists(FolderBase(b.folder) + "index.htm"));
}

TEST(RunExtras, EndOfRunNoticeAsksOnlyWhenThePromptIsOff) {
  for (const std::string value : {"on", "", "yes"}) {
    Album a;
    a.settings.noBrowserPrompt = value;
    EXPECT_EQ(a.run(), RunOutcome::Completed);
    EXPECT_TRUE(a.host.questions.empty()) << value;
    EXPECT_EQ(a.host.status[0], msg::kFinished);
  }
  Album batch;
  batch.settings.noBrowserPrompt = "off";
  batch.main.batchRunning = true;
  EXPECT_EQ(batch.run(), RunOutcome::Completed);
  EXPECT_TRUE(batch.host.questions.empty());
  EXPECT_EQ(batch.host.status[0], msg::kFinished);

  Album a;
  a.settings.noBrowserPrompt = "off";
  a.host.answers = {false, true, true};
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(a.host.questions, std::vector<std::string>{std::string("Pictavo|") + RenderMessage(msg::kBrowserQuestion)});
  EXPECT_TRUE(a.host.opened.empty());
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  const std::string page = FolderBase(a.folder) + "index.htm";
  EXPECT_EQ(a.host.opened, std::vector<std::string>{"|" + page});
  a.settings.browserPath = "/usr/bin/browser";
  EXPECT_EQ(a.run(), RunOutcome::Completed);
  EXPECT_EQ(a.host.opened.back(), "/usr/bin/browser|" + page + "|" + FolderBase(a.folder));
}

TEST(CopyFileTo, CopiesEveryChunkSizeAndNamesTheFailingFile) {
  TempDir dir;
  ASSERT_TRUE(MakeFolders(dir.file("to")));
  Message error;
  for (const size_t size : {0, 8191, 8192, 8193, 3 * 8192}) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 8192);
    WriteAll(dir.file("f.bin"), bytes);
    ASSERT_TRUE(CopyFileTo(dir.file("f.bin"), dir.file("to"), error)) << error;
    EXPECT_EQ(ReadAll(dir.file("to/f.bin")), bytes) << size;
  }
  EXPECT_FALSE(CopyFileTo(dir.file("f.bin"), dir.file("none/x"), error));
  EXPECT_EQ(error, "ファイル " + dir.file("none/x/f.bin") + " を作成できません");
  EXPECT_FALSE(CopyFileTo(dir.file("gone.bin"), dir.file("to"), error));
  EXPECT_EQ(error, "ファイル " + dir.file("gone.bin") + " は開けません");
  EXPECT_TRUE(HasAttributes(dir.file("gone.bin"), kAttrDirectory | kAttrReadOnly));
}

}  // namespace
}  // namespace pictavo
