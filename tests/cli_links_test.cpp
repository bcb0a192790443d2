// A received folder cannot make a command write outside it: links at the
// names the commands write, linked sub-folders and names read back from
// pages are each tried here on the command line, which must end with a
// message naming the file and leave every file outside byte for byte.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "cli_fixtures.h"
#include "comments/comment_file.h"
#include "fixtures.h"
#include "platform/folder_write.h"
#include "platform/paths.h"
#include "test_util.h"
#include "toc/discovery.h"
#include "toc_test_util.h"

namespace pictavo {
namespace {

const std::string kBmp = TinyBmp();

void Link(const std::string& target, const std::string& at) {
  ASSERT_EQ(::symlink(target.c_str(), at.c_str()), 0) << at;
}

bool IsLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Every file below a folder with its bytes, to compare before and after.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> out;
  for (const auto& name : ListDir(folder)) {
    const std::string path = folder + "/" + name;
    if (FolderExists(path) && !IsLink(path)) {
      for (const auto& [sub, bytes] : Snapshot(path)) out[name + "/" + sub] = bytes;
    } else {
      out[name] = IsLink(path) ? "-> link" : ReadAll(path);
    }
  }
  return out;
}

// A picture folder "album" beside "home" (the user's files: a shell start-up
// file, a photograph, an album of their own) and a program folder.
struct Received {
  TempDir root;
  std::string album = root.file("album");
  std::string home = root.file("home");
  std::string program = root.file("program");
  Received() {
    MakeFolders(album);
    MakeFolders(home + "/Pictures/htm_image");
    MakeFolders(program);
    MakeJpeg(album + "/a.jpg", 60, 40);
    WriteAll(home + "/.bashrc", "export PATH=$HOME/bin:$PATH\n");
    MakeJpeg(home + "/Pictures/photo.jpg", 50, 30);
    WriteAll(home + "/Pictures/index.htm", "their own album page");
    WriteAll(home + "/Pictures/htm_image/photo.jpg", "their own thumbnail");
    before = Snapshot(home);
  }
  void expectHomeUntouched() const { EXPECT_EQ(Snapshot(home), before); }
  CliResult run(std::vector<std::string> args) const {
    args.insert(args.end(), {"--home", program});
    return Cli(args);
  }
  std::map<std::string, std::string> before;
};

void ExpectRefused(const CliResult& r, const Message& message) {
  const std::string text = RenderMessage(message);
  EXPECT_EQ(r.status, 1);
  const std::string shown = text.substr(0, text.find('\r'));
  EXPECT_NE(r.err.find(shown), std::string::npos) << r.err;
}

TEST(ReceivedFolderLinks, TheCommentFileIsNeverWrittenThroughALinkOut) {
  Received f;
  MakeJpeg(f.album + "/touch PWNED;.jpg", 20, 20);
  Link(f.home + "/.bashrc", f.album + "/PicComment.txt");
  ExpectRefused(Cli({"comments", "fill", f.album, "--what", "name"}),
                msg::LinkLeadsOutsideText(f.album + "/PicComment.txt"));
  f.expectHomeUntouched();
  EXPECT_TRUE(IsLink(f.album + "/PicComment.txt"));

  // A link to one of the pictures would replace the photograph with text.
  ::unlink((f.album + "/PicComment.txt").c_str());
  Link("a.jpg", f.album + "/PicComment.txt");
  const std::string picture = ReadAll(f.album + "/a.jpg");
  ExpectRefused(Cli({"comments", "fill", f.album, "--what", "name"}),
                msg::LinkLeadsToSourceText(f.album + "/PicComment.txt"));
  EXPECT_EQ(ReadAll(f.album + "/a.jpg"), picture);
}

TEST(ReceivedFolderLinks, TheAlbumRunWritesNoThumbnailOrBackgroundThroughALinkOut) {
  {
    Received f;
    MakeFolders(f.album + "/htm_image");
    Link(f.home + "/.bashrc", f.album + "/htm_image/a.jpg");
    ExpectRefused(f.run({"album", f.album, "--quiet"}), msg::LinkLeadsOutsideText(f.album + "/htm_image/a.jpg"));
    f.expectHomeUntouched();
  }
  {
    // back.jpg in the thumbnail folder leading to the user's photograph.
    Received f;
    MakeFolders(f.album + "/htm_image");
    MakeJpeg(f.root.file("tile.jpg"), 8, 8);
    Link(f.home + "/Pictures/photo.jpg", f.album + "/htm_image/back.jpg");
    ExpectRefused(f.run({"album", f.album, "--quiet", "--set", "backgroundPattern=on", "--set",
                         "backgroundFile=" + f.root.file("tile.jpg")}),
                  msg::LinkLeadsOutsideText(f.album + "/htm_image/back.jpg"));
    f.expectHomeUntouched();
    EXPECT_FALSE(PathExists(f.album + "/index.htm"));  // refused before the page
  }
}

TEST(ReceivedFolderLinks, BatchAndTableOfContentsDoNotEnterALinkedFolderLeadingOut) {
  Received f;
  const std::string folder = f.root.file("albums");
  MakeFolders(folder + "/mine");
  MakeJpeg(folder + "/mine/m.jpg", 40, 30);
  Link(f.home + "/Pictures", folder + "/theirs");
  const CliResult r = f.run({"batch", folder, "--quiet", "--pictures", "--set", "clearThumbnailFolder=on"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find(RenderMessage(msg::FolderLeadsOutsideNote(folder + "/theirs"))), std::string::npos) << r.err;
  f.expectHomeUntouched();
  EXPECT_TRUE(FileExists(folder + "/mine/index.htm"));
  const std::string toc = ReadAll(folder + "/index.htm");
  EXPECT_NE(toc.find("mine/index.htm"), std::string::npos);
  EXPECT_EQ(toc.find("theirs"), std::string::npos);
}

TEST(ReceivedFolderLinks, ConvertedJpegsNeverReplaceTheirSourceOrAFileOutside) {
  Received f;
  WriteAll(f.album + "/x.bmp", kBmp);
  Link("x.bmp", f.album + "/x.jpg");
  ExpectRefused(Cli({"bmp2jpg", f.album, "--yes"}), msg::LinkLeadsToSourceText(f.album + "/x.jpg"));
  EXPECT_EQ(ReadAll(f.album + "/x.bmp"), kBmp);
  EXPECT_TRUE(IsLink(f.album + "/x.jpg"));

  ::unlink((f.album + "/x.jpg").c_str());
  Link(f.home + "/Pictures/photo.jpg", f.album + "/x.jpg");
  ExpectRefused(Cli({"bmp2jpg", f.album, "--yes"}), msg::LinkLeadsOutsideText(f.album + "/x.jpg"));
  f.expectHomeUntouched();
  EXPECT_EQ(ReadAll(f.album + "/x.bmp"), kBmp);
}

TEST(ReceivedFolderLinks, RotationWritesNeitherPictureNorBackupOutside) {
  // The picture leads out, _backup does, or a name in it does (to a file
  // still to be made): nothing is written there and the picture stays.
  for (const auto& [at, target] : std::vector<std::pair<std::string, std::string>>{
           {"a.jpg", "/Pictures/photo.jpg"}, {"_backup", "/Pictures"}, {"_backup/a.jpg", "/new.jpg"}}) {
    SCOPED_TRACE(at);
    Received f;
    ::unlink((f.album + "/" + at).c_str());
    MakeFolders(ParentFolder(f.album + "/" + at));
    Link(f.home + target, f.album + "/" + at);
    const std::string picture = ReadAll(f.album + "/a.jpg");
    ExpectRefused(f.run({"rotate", f.album, "--right", "--set", "rotationBackup=on"}),
                  msg::LinkLeadsOutsideText(f.album + "/" + at));
    f.expectHomeUntouched();
    EXPECT_EQ(ReadAll(f.album + "/a.jpg"), picture);
  }
}

TEST(ReceivedFolderLinks, PageHeadsNameNoFileOutsideAndTitlesStayInTheirAttributes) {
  Received f;
  const std::string folder = f.root.file("albums");
  MakeFolders(folder);
  WriteAlbumPage(folder + "/trip", "say \"hi\"", "001", "../../secret.jpg");
  MakeJpeg(f.root.file("secret.jpg"), 40, 30);
  for (const bool frames : {false, true}) {
    SCOPED_TRACE(frames ? "frames" : "table");
    std::vector<std::string> args = {"toc", folder, "--quiet", "--pictures"};
    if (frames) args.push_back("--frames");
    const CliResult r = f.run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(RenderMessage(msg::ThumbnailNameNote(folder + "/trip/index.htm", "../../secret.jpg"))), std::string::npos)
        << r.err;
    const std::string page = ReadAll(folder + (frames ? "/title.htm" : "/index.htm"));
    EXPECT_EQ(page.find("secret"), std::string::npos);
    EXPECT_NE(page.find("ALT=\"say &quot;hi&quot;\""), std::string::npos) << page;
  }
}

TEST(ReceivedFolderLinks, ASaveOfMoreCommentsThanAreKeptIsRefused) {
  TempDir dir;
  for (size_t i = 0; i <= kMaxCommentRecords; ++i) WriteAll(dir.file("p" + std::to_string(i) + ".jpg"), "");
  WriteAll(dir.file("PicComment.txt"), "kept");
  const CliResult r = Cli({"comments", "fill", dir.path(), "--what", "name"});
  ExpectRefused(r, msg::TooManyCommentsText());
  EXPECT_NE(r.err.find("10001"), std::string::npos);
  EXPECT_EQ(ReadAll(dir.file("PicComment.txt")), "kept");
}

}  // namespace
}  // namespace pictavo
