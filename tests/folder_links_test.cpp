// The rule for writes into a picture folder (a link is followed only inside
// its folder, never onto a file the command reads), what discovery makes of
// links and names read back from pages, and comment files never saved over
// in part. The commands themselves are tried in cli_links_test.cpp.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "comments/comment_editor.h"
#include "fixtures.h"
#include "platform/folder_write.h"
#include "platform/paths.h"
#include "test_util.h"
#include "toc/discovery.h"
#include "toc_test_util.h"
#include "message_testing.h"

namespace pictavo {
namespace {

void Link(const std::string& target, const std::string& at) {
  ASSERT_EQ(::symlink(target.c_str(), at.c_str()), 0) << at;
}

TEST(FolderWriteRule, LinksAreFollowedOnlyInsideTheFolderAndNeverOntoASource) {
  TempDir root;
  struct {
    std::string album, outside;
  } f{root.file("album"), root.file("outside")};
  MakeFolders(f.album + "/sub");
  MakeFolders(f.outside);
  WriteAll(f.album + "/a.jpg", "picture");
  WriteAll(f.album + "/notes.txt", "notes");
  WriteAll(f.outside + "/secret", "secret");
  // No link: the name itself. A link inside, relative or absolute, to a file
  // that exists or is still to be made, through a chain: its real target.
  Link("notes.txt", f.album + "/rel.txt");
  Link(f.album + "/sub/../notes.txt", f.album + "/abs.txt");
  Link("sub/later.txt", f.album + "/later.txt");
  Link("rel.txt", f.album + "/chain.txt");
  const std::string real = RealLocation(f.album);
  for (const auto& [name, target] :
       std::vector<std::pair<std::string, std::string>>{{"a.jpg", f.album + "/a.jpg"},
                                                        {"new.htm", f.album + "/new.htm"},
                                                        {"rel.txt", real + "/notes.txt"},
                                                        {"abs.txt", real + "/notes.txt"},
                                                        {"later.txt", real + "/sub/later.txt"},
                                                        {"chain.txt", real + "/notes.txt"}}) {
    const FolderWrite w = FolderWritePath(f.album, name);
    ASSERT_TRUE(w) << name;
    EXPECT_EQ(w.path, target) << name;
  }

  // Outside, nowhere it can resolve, round in a circle, the folder itself,
  // or one of the sources (by any of its names): refused, naming the link.
  Link(f.outside + "/secret", f.album + "/out.txt");
  Link("../outside/missing", f.album + "/dangling.txt");
  Link("/no/such/folder/x", f.album + "/nowhere.txt");
  Link("loop2", f.album + "/loop1");
  Link("loop1", f.album + "/loop2");
  Link(".", f.album + "/self");
  Link("sub/..", f.album + "/up");
  Link("a.jpg", f.album + "/a-link.jpg");
  for (const std::string name : {"out.txt", "dangling.txt", "nowhere.txt", "loop1", "self", "up"}) {
    const FolderWrite w = FolderWritePath(f.album, name);
    ASSERT_FALSE(w) << name;
    EXPECT_EQ(w.error->message, msg::LinkLeadsOutsideText(f.album + "/" + name));
    EXPECT_NE(w.error->detail.find(" -> "), std::string::npos);
  }
  const FolderWrite source = FolderWritePath(f.album, "a-link.jpg", {f.album + "/rel.txt", f.album + "/a.jpg"});
  ASSERT_FALSE(source);
  EXPECT_EQ(source.error->message, msg::LinkLeadsToSourceText(f.album + "/a-link.jpg"));
  EXPECT_TRUE(FolderWritePath(f.album, "a-link.jpg", {f.album + "/notes.txt"}));

  // A folder reached through a link of the user's is resolved like any other.
  Link(f.album, root.file("album-link"));
  EXPECT_TRUE(FolderWritePath(root.file("album-link"), "rel.txt"));
  EXPECT_FALSE(FolderWritePath(root.file("album-link"), "out.txt"));
  EXPECT_TRUE(LinkLeadsOutside(f.album, "out.txt"));
  EXPECT_FALSE(LinkLeadsOutside(f.album, "rel.txt"));
  EXPECT_FALSE(LinkLeadsOutside(f.album, "a.jpg"));
  EXPECT_EQ(ReadAll(f.outside + "/secret"), "secret");
}

// A host that only records what the editor shows.
class EditorHost : public CommandHost {
 public:
  void showMessage(const Message& message_) override {
    const std::string text = RenderMessage(message_); messages.push_back(text); }
  bool askYesNo(const Message&, const Message&) override { return false; }
  void setStatus(StatusPanel, const Message&) override {}
  bool processEvents() override { return false; }
  std::vector<std::string> messages;
};

TEST(CommentLimit, TheEditorNeverSavesOverAFileItDidNotReadWhole) {
  // More records than are read: not saved over, even for one picture.
  TempDir one;
  MakeJpeg(one.file("p0.jpg"), 8, 8);
  std::vector<std::string> lines;
  for (size_t i = 0; i <= kMaxCommentRecords; ++i) lines.insert(lines.end(), {kCommentSeparator, "p.jpg", "c", ""});
  WriteCp932Lines(one.file("PicComment.txt"), lines);
  const std::string before = ReadAll(one.file("PicComment.txt"));
  EditorHost host;
  CommentEditor editor(host);
  editor.openFolder(one.path());
  EXPECT_FALSE(editor.save());
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back(), msg::TooManyCommentsText());
  EXPECT_EQ(ReadAll(one.file("PicComment.txt")), before);

  // Nor over one it could not read at all.
  TempDir unread;
  MakeJpeg(unread.file("p0.jpg"), 8, 8);
  WriteAll(unread.file("PicComment.txt"), "");
  ASSERT_EQ(::truncate(unread.file("PicComment.txt").c_str(), static_cast<off_t>(kMaxCommentFileBytes) + 1), 0);
  editor.openFolder(unread.path());
  EXPECT_FALSE(editor.save());
  EXPECT_EQ(host.messages.back(), msg::UnreadCommentFileText(unread.file("PicComment.txt")));
  struct stat st {};
  ASSERT_EQ(::stat(unread.file("PicComment.txt").c_str(), &st), 0);
  EXPECT_EQ(static_cast<size_t>(st.st_size), kMaxCommentFileBytes + 1);
}

TEST(DiscoveryLinks, NamesFromPagesAndLinksStayInsideTheirAlbum) {
  TempDir root;
  const std::string toc = root.file("toc");
  const std::string outside = root.file("outside");
  MakeFolders(toc);
  // An album elsewhere, reached by a linked sub-folder: no candidate.
  WriteAlbumWithThumbnail(outside, "Elsewhere", 40, 30);
  Link(outside, toc + "/linked-out");
  // A linked sub-folder that stays inside is an album like any other.
  WriteAlbumWithThumbnail(toc + "/real", "Real", 40, 30);
  Link("real", toc + "/linked-in");
  // A page head naming a thumbnail outside its album.
  WriteAlbumPage(toc + "/climb", "Climb", "001", "../../secret.jpg");
  MakeJpeg(root.file("secret.jpg"), 40, 30);
  // A thumbnail, and a page, that are links out of the album.
  WriteAlbumPage(toc + "/thumb-out", "Thumb", "001", "p.jpg");
  MakeFolders(toc + "/thumb-out/htm_image");
  Link(outside + "/htm_image/p.jpg", toc + "/thumb-out/htm_image/p.jpg");
  MakeFolders(toc + "/page-out");
  Link(outside + "/index.htm", toc + "/page-out/index.htm");

  std::vector<std::string> leading;
  const Listing candidates = CandidateFolders(toc, &leading);
  EXPECT_EQ(candidates.names, (std::vector<std::string>{"climb", "linked-in", "page-out", "real", "thumb-out"}));
  EXPECT_EQ(leading, std::vector<std::string>{"linked-out"});

  AlbumSettings s;
  ResetSettings(s);
  const DiscoveryResult found = DiscoverAlbums(toc, s, true);
  ASSERT_EQ(found.status, DiscoveryStatus::Found);
  std::vector<std::string> folders;
  for (const auto& a : found.albums) folders.push_back(a.folderName + ":" + a.thumbnailName);
  EXPECT_EQ(folders, (std::vector<std::string>{"climb:", "linked-in:p.jpg", "real:p.jpg", "thumb-out:"}));
  EXPECT_FALSE(found.albums[0].hasThumbnailSize);
  EXPECT_FALSE(found.albums[3].hasThumbnailSize);
  EXPECT_EQ(found.notes, (std::vector<Message>{
                             msg::FolderLeadsOutsideNote(toc + "/linked-out"),
                             msg::ThumbnailNameNote(toc + "/climb/index.htm", "../../secret.jpg"),
                             msg::FileLeadsOutsideNote(toc + "/page-out/index.htm"),
                             msg::FileLeadsOutsideNote(toc + "/thumb-out/htm_image/p.jpg"),
                         }));
}

}  // namespace
}  // namespace pictavo
