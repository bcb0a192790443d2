// Names from settings (given on the command line or found in an album's own
// settings file) may not make a command write, delete or run anything outside
// what the user asked for.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "album/escape.h"
#include "album/slideshow_page.h"
#include "cli_fixtures.h"
#include "fixtures.h"
#include "platform/paths.h"
#include "settings/name_check.h"
#include "settings/settings_file.h"
#include "text/encoding.h"
#include "status_testing.h"
#include "test_util.h"
#include "message_testing.h"

namespace pictavo {
namespace {

// An album folder "album" with two photographs beside a folder "precious",
// and a program folder "home" of its own.
struct Sandbox {
  TempDir root;
  std::string album = root.file("album");
  std::string precious = root.file("precious");
  std::string home = root.file("home");
  Sandbox() {
    MakeFolders(album);
    MakeFolders(precious);
    MakeFolders(home);
    MakeJpeg(album + "/a.jpg", 60, 40);
    MakeJpeg(album + "/b.jpg", 40, 60);
    WriteAll(precious + "/thesis.txt", "years of work");
    a = ReadAll(album + "/a.jpg");
    b = ReadAll(album + "/b.jpg");
  }
  CliResult album_(std::vector<std::string> extra) const {
    std::vector<std::string> args = {"album", album, "--home", home, "--quiet"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Cli(args);
  }
  // Nothing of the album was replaced and nothing beside it was touched.
  void expectUntouched(const std::vector<std::string>& albumFiles = {"a.jpg", "b.jpg"}) const {
    EXPECT_EQ(ReadAll(album + "/a.jpg"), a);
    EXPECT_EQ(ReadAll(album + "/b.jpg"), b);
    EXPECT_EQ(ListDir(album), albumFiles);
    EXPECT_EQ(ListDir(precious), std::vector<std::string>{"thesis.txt"});
    EXPECT_EQ(ListDir(root.path()), (std::vector<std::string>{"album", "home", "precious"}));
  }
  std::string a, b;
};

TEST(SettingsNames, BadNamesEndTheAlbumRunBeforeAnythingIsWritten) {
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"thumbnailFolderName", ""},        {"thumbnailFolderName", "."},       {"thumbnailFolderName", ".."},
      {"thumbnailFolderName", "../precious"}, {"thumbnailFolderName", "x/y"}, {"htmlFileName", "../out.htm"},
      {"htmlFileName", ""},               {"htmlFileName", "."},              {"htmlFileName", "/tmp/x.htm"},
      {"thumbnailPrefix", "../"},
  };
  for (const auto& [field, value] : bad) {
    SCOPED_TRACE(field + "=" + value);
    Sandbox s;
    const CliResult r = s.album_({"--set", field + "=" + value, "--set", "clearThumbnailFolder=on", "--set",
                                  "makeSlideShow=on", "--set", "autoSaveSettings=on"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("設定 " + field + " の値「" + value + "」"), std::string::npos) << r.err;
    s.expectUntouched();
    EXPECT_EQ(ListDir(s.home + "/inifile"), std::vector<std::string>{});  // no auto-save either
  }
}

TEST(SettingsNames, ThePageMayNotBeAPictureOrTheCommentFile) {
  for (const std::string page : {"a.jpg", "A.JPG", "other.jpg", "PicComment.txt"}) {
    SCOPED_TRACE(page);
    Sandbox s;
    WriteAll(s.album + "/PicComment.txt", "keep");
    // Only b.jpg is in the run: a.jpg is still a photograph of the folder.
    const CliResult r = s.album_({"--pictures", "b.jpg", "--set", "htmlFileName=" + page});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("設定 htmlFileName の値「" + page + "」"), std::string::npos) << r.err;
    s.expectUntouched({"PicComment.txt", "a.jpg", "b.jpg"});
    EXPECT_EQ(ReadAll(s.album + "/PicComment.txt"), "keep");
  }
}

TEST(SettingsNames, LinksOutOfTheAlbumAreNeitherFollowedNorCleared) {
  {
    // A received album whose thumbnail folder is a link to another folder.
    Sandbox s;
    ASSERT_EQ(::symlink(s.precious.c_str(), (s.album + "/htm_image").c_str()), 0);
    const CliResult r = s.album_({"--set", "clearThumbnailFolder=on"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("thumbnailFolderName"), std::string::npos) << r.err;
    EXPECT_EQ(ListDir(s.precious), std::vector<std::string>{"thesis.txt"});
  }
  {
    // A page that is a link to a file elsewhere is not written through.
    Sandbox s;
    ASSERT_EQ(::symlink((s.precious + "/thesis.txt").c_str(), (s.album + "/index.htm").c_str()), 0);
    EXPECT_EQ(s.album_({}).status, 1);
    EXPECT_EQ(ReadAll(s.precious + "/thesis.txt"), "years of work");
  }
  {
    // Clearing deletes the regular files of the thumbnail folder only: a link
    // in it and what the link points to stay.
    Sandbox s;
    MakeFolders(s.album + "/htm_image/sub");
    WriteAll(s.album + "/htm_image/old.jpg", "old thumbnail");
    ASSERT_EQ(::symlink((s.precious + "/thesis.txt").c_str(), (s.album + "/htm_image/link.jpg").c_str()), 0);
    const CliResult r = s.album_({"--set", "clearThumbnailFolder=on"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ListDir(s.album + "/htm_image"), (std::vector<std::string>{"a.jpg", "b.jpg", "link.jpg", "sub"}));
    EXPECT_EQ(ReadAll(s.precious + "/thesis.txt"), "years of work");
  }
}

TEST(SettingsNames, TableOfContentsAndBatchCheckTheirNames) {
  Sandbox s;
  for (const std::string command : {"toc", "batch"}) {
    for (const std::string set : {"htmlFileName=../out.htm", "thumbnailFolderName=..", "htmlFileName="}) {
      SCOPED_TRACE(command + " " + set);
      const CliResult r = Cli({command, s.root.path(), "--home", s.home, "--quiet", "--set", set});
      EXPECT_EQ(r.status, 1);
      EXPECT_NE(r.err.find("設定 "), std::string::npos) << r.err;
      s.expectUntouched();
    }
  }
  // The good names still work.
  ASSERT_EQ(Cli({"batch", s.root.path(), "--home", s.home, "--quiet"}).status, 0);
  EXPECT_TRUE(FileExists(s.root.file("index.htm")));
}

TEST(SettingsNames, CheckNamesAcceptsOrdinaryValues) {
  AlbumSettings st;
  ResetSettings(st);
  EXPECT_EQ(Rendered(CheckSettingsNames(st)), "");
  st.htmlFileName = "アルバム.htm";
  st.thumbnailFolderName = "..thumbs";
  st.thumbnailPrefix = "s_";
  EXPECT_EQ(Rendered(CheckSettingsNames(st)), "");
  st.thumbnailPrefix = "..";
  EXPECT_EQ(Rendered(CheckSettingsNames(st)), "");  // "..a.jpg" is an ordinary name
}

// The album's own settings file: loaded through Button9, it may set the
// album's look but not the programs that are started.
struct FolderSettingsCase {
  Sandbox s;
  std::string script = s.root.file("evil.sh");
  std::string mark = s.root.file("evil-ran");
  std::string trusted = s.root.file("browser.sh");
  std::string trustedMark = s.root.file("browser-ran");
  FolderSettingsCase() {
    WriteAll(script, "#!/bin/sh\ntouch '" + mark + "'\n");
    WriteAll(trusted, "#!/bin/sh\ntouch '" + trustedMark + "'\n");
    ::chmod(script.c_str(), 0755);
    ::chmod(trusted.c_str(), 0755);
    // The user's own browser setting, in the program folder.
    AlbumSettings mine;
    ResetSettings(mine);
    mine.browserPath = trusted;
    writeSettings(s.home + "/PCV.ini", mine);
  }
  static void writeSettings(const std::string& path, const AlbumSettings& st) {
    SettingsLines lines;
    FillSettingsLines(st, "2.02", lines);
    ASSERT_TRUE(Succeeded(WriteSettingsFile(path, lines)));
  }
};

TEST(FolderSettings, AFileInThePictureFolderCannotChooseProgramsToRun) {
  FolderSettingsCase c;
  AlbumSettings theirs;
  ResetSettings(theirs);
  theirs.browserPath = c.script;
  theirs.externalViewerPath = c.script;
  theirs.titleFontSize = "5";
  FolderSettingsCase::writeSettings(c.s.album + "/received.ini", theirs);
  const CliResult r = c.s.album_({"--folder-settings", "--open"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find(RenderMessage(msg::kProgramsKept)), std::string::npos) << r.err;
  for (int i = 0; i < 100 && !PathExists(c.trustedMark); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(PathExists(c.trustedMark));  // the user's browser opened the page
  EXPECT_FALSE(PathExists(c.mark));
}

TEST(FolderSettings, TheDangerousCombinationEndsBeforeAnythingHappens) {
  FolderSettingsCase c;
  AlbumSettings theirs;
  ResetSettings(theirs);
  theirs.browserPath = c.script;
  theirs.thumbnailFolderName = "../home";
  theirs.clearThumbnailFolder = "on";
  FolderSettingsCase::writeSettings(c.s.album + "/received.ini", theirs);
  const CliResult r = c.s.album_({"--folder-settings", "--open"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("thumbnailFolderName"), std::string::npos) << r.err;
  EXPECT_TRUE(FileExists(c.s.home + "/PCV.ini"));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(PathExists(c.mark));
  EXPECT_FALSE(PathExists(c.trustedMark));
}

class Window : public SettingsWindow {
 public:
  void showMessage(const Message& message_) override {
    const std::string text = RenderMessage(message_); messages.push_back(text); }
  bool askYesNo(const Message&, const Message&) override { return false; }
  void note(const Message& note_) override {
    const std::string detail = RenderMessage(note_); notes.push_back(detail); }
  std::optional<std::string> chooseOpenFile(const Message&, const std::string&) override { return chosen; }
  std::optional<std::string> chooseSaveFile(const Message&, const std::string&) override { return {}; }
  std::vector<std::string> messages, notes;
  std::optional<std::string> chosen;
};

TEST(FolderSettings, FilesTheUserNamesAndTheProgramsOwnLoadEveryField) {
  TempDir root;
  const std::string home = root.file("home"), album = root.file("album");
  MakeFolders(home + "/inifile");
  MakeFolders(album);
  AlbumSettings theirs;
  ResetSettings(theirs);
  theirs.browserPath = "/opt/their-browser";
  theirs.externalViewerPath = "/opt/their-viewer";
  theirs.titleFontSize = "4";
  FolderSettingsCase::writeSettings(album + "/x.ini", theirs);
  FolderSettingsCase::writeSettings(home + "/inifile/album.ini", theirs);

  const auto load = [&](const std::string& path, bool button9) {
    AlbumSettings st;
    ResetSettings(st);
    st.browserPath = "/usr/bin/mine";
    MainValues main;
    main.programFolder = home;
    main.currentFolder = album;
    main.folderSettingsPath = path;
    SettingsLines lines;
    Window w;
    w.chosen = path;
    const auto result = button9 ? LoadFolderSettings(st, main, w) : SettingsLoadCommand(st, main, w);
    EXPECT_EQ(result, SettingsLoadResult::Loaded);
    EXPECT_EQ(st.titleFontSize, "4");
    return std::make_pair(st, w.notes);
  };
  // Button9 on the picture folder's own file: the programs stay, a note says so.
  auto [fromAlbum, notes] = load(album + "/x.ini", true);
  EXPECT_EQ(fromAlbum.browserPath, "/usr/bin/mine");
  EXPECT_EQ(fromAlbum.externalViewerPath, "");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find(RenderMessage(msg::kProgramsKept)), std::string::npos);
  // Button9 on the program's own per-folder file, and the menu command on a
  // file the user chose: every field, as before.
  EXPECT_EQ(load(home + "/inifile/album.ini", true).first.browserPath, "/opt/their-browser");
  const auto chosen = load(album + "/x.ini", false);
  EXPECT_EQ(chosen.first.browserPath, "/opt/their-browser");
  EXPECT_EQ(chosen.first.externalViewerPath, "/opt/their-viewer");
  EXPECT_TRUE(chosen.second.empty());
}

// What a browser makes of a slide-show entry: the script string's value
// (\" \\ and \uXXXX undone), then the unquoted attribute's character
// references, then the address's percent-encoding.
std::string ScriptValue(const std::string& line) {
  const size_t open = line.find('"'), close = line.rfind('"');
  std::string v = line.substr(open + 1, close - open - 1), out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\\' && v[i + 1] == 'u') {
      char32_t unit = static_cast<char32_t>(std::stoul(v.substr(i + 2, 4), nullptr, 16));
      if (unit >= 0xD800 && unit < 0xDC00) {
        const char32_t low = static_cast<char32_t>(std::stoul(v.substr(i + 8, 4), nullptr, 16));
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 6;
      }
      AppendUtf8(out, unit);
      i += 5;
    } else if (v[i] == '\\') {
      out += v[++i];
    } else {
      out += v[i];
    }
  }
  return out;
}

std::string AttributeValue(const std::string& unquoted) {
  std::string out;
  for (size_t i = 0; i < unquoted.size(); ++i) {
    EXPECT_EQ(std::string(" \t\n\r\"'=<>`").find(unquoted[i]), std::string::npos) << unquoted;
    if (unquoted[i] == '&') {
      const size_t semi = unquoted.find(';', i);
      EXPECT_EQ(unquoted.substr(i, 2), "&#");
      out += static_cast<char>(std::stoi(unquoted.substr(i + 2, semi - i - 2)));
      i = semi;
    } else {
      out += unquoted[i];
    }
  }
  return out;
}

std::string PercentDecoded(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%') {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      EXPECT_EQ(std::string("#?\\").find(s[i]), std::string::npos) << s;
      out += s[i];
    }
  }
  return out;
}

TEST(SlideShowNames, EveryNameReachesThePictureThroughTheWindow) {
  for (const std::string name : {"sp ace.jpg", "q\"uo'te.jpg", "hash#1.jpg", "100%.jpg", "a&b.jpg", "a=b<c>`.jpg",
                                 "back\\slash.jpg", "what?.jpg", "写真 1.jpg", "café.jpg", "emoji😀.jpg", "tab\t.jpg"}) {
    SCOPED_TRACE(name);
    const std::string line = SlideShowEntry(1, name, {10, 20})[0];
    EXPECT_EQ(line.rfind("imag[1]=\"", 0), 0u);
    // The line holds nothing the page's CP932 writer would turn into a reference.
    for (unsigned char c : line) EXPECT_TRUE(c >= 0x20 && c != 0x7F) << line;
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(line)), line);
    const std::string value = ScriptValue(line);
    EXPECT_EQ(PercentDecoded(AttributeValue(value)), name);
  }
  // Ordinary names, Japanese ones included, are written as they are.
  EXPECT_EQ(SlideShowEntry(2, "写真.jpg", {1, 1})[0], "imag[2]=\"写真.jpg\";");
  EXPECT_EQ(EscapeSlideShowName("café.jpg"), "caf\\u00E9.jpg");
}

TEST(SlideShowNames, TheAlbumRunWritesTheEscapedNames) {
  TempDir dir;
  MakeJpeg(dir.file("sp ace.jpg"), 30, 20);
  TempDir home;
  const CliResult r =
      Cli({"album", dir.path(), "--home", home.path(), "--quiet", "--set", "makeSlideShow=on"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto show = ReadCp932Lines(dir.file("SShow.htm"));
  EXPECT_EQ(show[17], "imag[1]=\"sp&#32;ace.jpg\";");
}

// A small real progressive JPEG whose frame header claims 20000 x 15000.
std::string DamagedHuge(const TempDir& dir) {
  JpegOptions o;
  o.progressive = true;
  MakeJpeg(dir.file("small.jpg"), 48, 32, o);
  std::string bytes = ReadAll(dir.file("small.jpg"));
  ::unlink(dir.file("small.jpg").c_str());
  const size_t sof = bytes.find("\xFF\xC2");
  EXPECT_NE(sof, std::string::npos);
  const int w = 20000, h = 15000;
  bytes[sof + 5] = static_cast<char>(h >> 8);
  bytes[sof + 6] = static_cast<char>(h & 0xFF);
  bytes[sof + 7] = static_cast<char>(w >> 8);
  bytes[sof + 8] = static_cast<char>(w & 0xFF);
  return bytes;
}

TEST(BoundedDecodeCli, TheAlbumRunReportsTheRefusal) {
  TempDir dir, home;
  WriteAll(dir.file("a.jpg"), DamagedHuge(dir));
  const CliResult r = Cli({"album", dir.path(), "--home", home.path(), "--quiet"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("JPEGファイルを読み込めませんでした。"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("256 MB"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace pictavo
