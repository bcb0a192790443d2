#include <gtest/gtest.h>

#include <unistd.h>

#include <map>
#include <set>

#include "platform/paths.h"
#include "platform/sink.h"
#include "fixtures.h"
#include "settings/settings_file.h"
#include "status_testing.h"
#include "test_util.h"
#include "text/encoding.h"

namespace pictavo {
namespace {

using FakeWindow = RecordingWindow;

const char* const kDefaultFile[] = {
    "Vistamo Ver2.02", "[起動フォルダ]", "", "[背景色]", "16777215", "[背景パターン設定]", "", "[背景ファイル]", "",
    "[ブラウザ設定]", "", "[外部ビュアー設定]", "", "[表示水平位置]", "", "[表示垂直位置]", "", "[画像回転圧縮率]",
    "95", "[画像回転バックアップ]", "on", "[タイトル文字サイズ]", "7", "[タイトル文字色]", "0", "[タイトルフォント]",
    "ＭＳ Ｐ明朝", "[タイトルテーブル幅]", "標準", "[タイトル背景色]", "16777215", "[タイトル斜体文字]", "off",
    "[タイトル太文字]", "off", "[サムネイル幅]", "110", "[サムネイル高さ]", "150", "[ブラウザ別起動]", "off",
    "[javaでウインドウを開く]", "off", "[スライドショウのHTMLを作成]", "off", "[スライドショウの間隔]", "3",
    "[サムネイル画像の圧縮率]", "80", "[サムネイル画像のフィルタ]", "off", "[ブラウザ起動チェック]", "off",
    "[HTMLファイル名]", "index.htm", "[サムネイル画像フォルダ名]", "htm_image", "[タイトルのフォントを指定する]", "on",
    "[ヘッダーを書き換える]", "on", "[ヘッダーのコメント]", "", "[フッターを書き換える]", "on", "[フッターのコメント]", "",
    "[フッターでlinkする]", "off", "[フッターのlinkのURL]", "", "[タイトルにテーブルを使用する]", "on",
    "[サムネイル画像に付加する文字列]", "", "[サムネイル画像の有無確認]", "off", "[テーブルの幅]", "1",
    "[スライドショウの最大値を指定]", "off", "[スライドショウの最大値Ｘ]", "1000", "[スライドショウの最大値Ｙ]", "750",
    "[画像の枠表示]", "on", "[１行の枚数]", "5", "[ｻﾑﾈｲﾙ画像のﾌｫﾙﾀﾞをｸﾘｱ]", "off", "[設定ファイルを自動保存]", "off",
    "[タイトルのテーブル幅]", "1", "[テキストの色]", "0"};

std::string Crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += Utf8ToCp932(l) + "\r\n";
  return out;
}

// A record in which every field differs from its default.
AlbumSettings Changed() {
  AlbumSettings s;
  const auto& names = SettingsFieldNames();
  for (size_t k = 0; k < names.size(); ++k) {
    const bool number = names[k] == "backgroundColor" || names[k] == "rotationQuality" || names[k] == "textColor";
    const std::string value = names[k] == "picturesPerRow" ? "7" : number ? std::to_string(100 + k) : "v" + std::to_string(k);
    EXPECT_EQ(SetSettingText(s, names[k], value), SettingTextResult::Set) << names[k];
  }
  return s;
}

// The 97 lines of `s` under the given header line, cut to `lineCount` lines,
// with some lines replaced.
std::string FileOf(const AlbumSettings& s, const std::string& header, int lineCount = kSettingsLineCount,
                   const std::map<int, std::string>& edits = {}) {
  SettingsLines lines;
  FillSettingsLines(s, "2.02", lines);
  lines[0] = header;
  for (const auto& [line, text] : edits) lines[static_cast<size_t>(line)] = text;
  return Crlf(std::vector<std::string>(lines.begin(), lines.begin() + lineCount));
}

// The value line of each field that differs between the two records.
std::vector<int> DifferingLines(const AlbumSettings& a, const AlbumSettings& b) {
  std::vector<int> out;
  const auto& names = SettingsFieldNames();
  for (size_t k = 0; k < names.size(); ++k) {
    if (GetSettingText(a, names[k]) != GetSettingText(b, names[k])) out.push_back(static_cast<int>(2 * k + 2));
  }
  return out;
}

std::vector<int> Lines(int from, int to) {
  std::vector<int> out;
  for (int l = from; l <= to; l += 2) out.push_back(l);
  return out;
}

TEST(SettingsFile, InisaveWritesTheNinetySevenLinesByteForByte) {
  AlbumSettings s;
  SettingsLines lines;
  EXPECT_EQ(FillSettingsLines(s, "2.02", lines), 96);
  TempDir dir;
  ASSERT_TRUE(Succeeded(WriteSettingsFile(dir.file("PCV.ini"), lines)));
  const std::string bytes = ReadAll(dir.file("PCV.ini"));
  EXPECT_EQ(bytes, Crlf(std::vector<std::string>(std::begin(kDefaultFile), std::end(kDefaultFile))));
  // The full-width digit and letters and the half-width katakana, as bytes.
  EXPECT_NE(bytes.find("\r\n[\x82\x50\x8d\x73\x82\xcc\x96\x87\x90\x94]\r\n"), std::string::npos);  // [１行の枚数]
  EXPECT_NE(bytes.find("\x8d\xc5\x91\xe5\x92\x6c\x82\x77]"), std::string::npos);                   // 最大値Ｘ]
  EXPECT_NE(bytes.find("\x8d\xc5\x91\xe5\x92\x6c\x82\x78]"), std::string::npos);                   // 最大値Ｙ]
  EXPECT_NE(bytes.find("\r\n[\xbb\xd1\xc8\xb2\xd9\x89\xe6\x91\x9c\x82\xcc\xcc\xab\xd9\xc0\xde\x82\xf0\xb8\xd8\xb1]\r\n"),
            std::string::npos);

  // Reads back to the same record, at start-up and through the load command.
  AlbumSettings changed = Changed();
  changed.displayLeft.clear();  // not applied by the start-up reader
  changed.displayTop.clear();
  FillSettingsLines(changed, "2.02", lines);
  ASSERT_TRUE(Succeeded(WriteSettingsFile(dir.file("PCV.ini"), lines)));
  AlbumSettings back;
  SettingsLines scratch;
  FakeWindow window;
  const StartupReading r = ReadSettingsAtStart(StartupSettingsPath(dir.path()), back, window);
  EXPECT_TRUE(r.complete) << Rendered(r.problem);
  EXPECT_EQ(back, changed);
  EXPECT_EQ(window.perRow, 7);

  AlbumSettings loaded;
  MainValues main;
  main.loadWithoutAsking = true;
  main.folderSettingsPath = dir.file("PCV.ini");
  EXPECT_EQ(SettingsLoadCommand(loaded, main, window), SettingsLoadResult::Loaded);
  changed.startFolder.clear();  // nor by the load command
  EXPECT_EQ(loaded, changed);
  EXPECT_FALSE(main.loadWithoutAsking);
  EXPECT_EQ(window.refills, 1);
}

// The readers take a version's lines as one run after the older ones: a
// field added with an older version in the middle of newer ones, or a name
// or key used twice, would shift every later line.
TEST(SettingsFile, FieldTableKeepsVersionsInOrderAndNamesUnique) {
  const auto& fields = SettingFields();
  std::set<std::string> names, keys;
  for (size_t k = 0; k < fields.size(); ++k) {
    const SettingField& f = fields[k];
    EXPECT_TRUE(names.insert(f.name).second) << f.name;
    EXPECT_TRUE(keys.insert(f.key).second) << f.key;
    EXPECT_EQ(std::string(f.key).front(), '[') << f.name;
    EXPECT_EQ(FindSettingField(f.name), &f);
    if (k > 0 && std::string(f.since) != fields[k - 1].since) {
      for (size_t j = 0; j < k; ++j) {
        EXPECT_NE(std::string(fields[j].since), f.since) << f.name << " splits its version";
      }
    }
    // An integer field refuses text, a text field takes it as it is.
    AlbumSettings s;
    EXPECT_EQ(f.set(s, "x"), f.kind() == SettingKind::Text) << f.name;
    if (f.kind() == SettingKind::Text) {
      EXPECT_EQ(f.get(s), "x");
    }
  }
  EXPECT_EQ(FindSettingField("nothing"), nullptr);
  AlbumSettings s;
  EXPECT_FALSE(FindSettingField("picturesPerRow")->set(s, "40000"));
  EXPECT_TRUE(FindSettingField("textColor")->set(s, "40000"));
  EXPECT_EQ(s.textColor, 40000);
}

TEST(SettingsFile, StartupReadsAsFarAsTheHeaderVersionGoes) {
  const AlbumSettings file = Changed();
  const std::vector<int> always = {2, 4, 6, 8, 10, 12, 18, 20, 22, 24, 26, 28, 30, 32, 34};
  const std::map<std::string, int> lastLine = {
      {"Vistamo Ver0.9", 34},  {"Vistamo Ver1.1", 46},  {"Vistamo Ver1.3", 52},  {"Vistamo Ver1.31", 56},
      {"Vistamo Ver1.32", 72}, {"Vistamo Ver1.55", 78}, {"Vistamo Ver1.6", 84},  {"Vistamo Ver2.0", 94},
      {"Vistamo Ver2.01", 94}, {"Vistamo Ver2.02", 96}, {"ABCDEFGHIJK2.02", 96}, {"Vistamo Ver2.1", 96},
      {"Vistamo Ver1.30", 52}, {"Vistamo Ver1.299", 46}};
  TempDir dir;
  for (const auto& [header, last] : lastLine) {
    WriteAll(dir.file("PCV.ini"), FileOf(file, header));
    AlbumSettings s;
    SettingsLines lines;
    FakeWindow window;
    const StartupReading r = ReadSettingsAtStart(StartupSettingsPath(dir.path()), s, window);
    EXPECT_TRUE(r.complete) << header << ": " << Rendered(r.problem);
    std::vector<int> expected = always;
    for (int l = 36; l <= last; l += 2) expected.push_back(l);
    EXPECT_EQ(DifferingLines(s, AlbumSettings{}), expected) << header;
    EXPECT_EQ(r.windowLeft, "v6") << header;
    EXPECT_EQ(window.perRow, last >= 94 ? 7 : -1) << header;
  }
}

TEST(SettingsFile, StartupFailuresKeepWhatWasAppliedAndNeverThrow) {
  TempDir dir;
  const AlbumSettings file = Changed();
  FakeWindow window;
  const auto start = [&](AlbumSettings& s) {
    SettingsLines lines;
    return ReadSettingsAtStart(StartupSettingsPath(dir.path()), s, window);
  };

  // No file at all: defaults and window position "0"; then the older file.
  AlbumSettings s;
  StartupReading r = start(s);
  EXPECT_EQ(r.path, "");
  EXPECT_EQ(s, AlbumSettings{});
  EXPECT_EQ(r.windowTop, "0");
  WriteAll(dir.file("Vistamo.ini"), FileOf(file, "Vistamo Ver0.9"));
  EXPECT_EQ(start(s).path, dir.file("Vistamo.ini"));
  EXPECT_EQ(s.titleBold, "v16");

  // A bad colour on line 4 ends the reading: the later lines and line 2 were
  // applied, the rest of the early lines were not.
  WriteAll(dir.file("PCV.ini"), FileOf(file, "Vistamo Ver2.02", kSettingsLineCount, {{4, "white"}}));
  s = AlbumSettings{};
  r = start(s);
  EXPECT_FALSE(r.complete);
  EXPECT_NE(Rendered(r.problem).find("white"), std::string::npos);
  EXPECT_EQ(s.startFolder, "v0");
  EXPECT_EQ(s.textColor, 147);
  EXPECT_EQ(s.backgroundColor, 16777215);
  EXPECT_EQ(s.browserPath, "");
  EXPECT_EQ(r.windowLeft, "0");

  // A truncated 2.02 file: line 86 is applied empty, the empty line 88 ends it.
  WriteAll(dir.file("PCV.ini"), FileOf(file, "Vistamo Ver2.02", 60));
  s = AlbumSettings{};
  EXPECT_FALSE(start(s).complete);
  EXPECT_EQ(s.pictureFrame, "");
  EXPECT_EQ(s.titleFontSpecified, "v28");
  EXPECT_EQ(s.headerComment, "");
  EXPECT_EQ(s.picturesPerRow, 5);

  // A header that is no number, an empty file, bytes that are not CP932.
  for (const std::string& odd : {Crlf({"Vistamo Verx"}), std::string(), std::string("\x80\xff\r\n\x80"),
                                Crlf({"ABCDEFGHIJ9"})}) {
    WriteAll(dir.file("PCV.ini"), odd);
    s = AlbumSettings{};
    EXPECT_FALSE(start(s).complete);
    EXPECT_EQ(s, AlbumSettings{});
  }
  WriteAll(dir.file("PCV.ini"), FileOf(AlbumSettings{}, "Vistamo Ver2.02", kSettingsLineCount, {{54, "x\x80"}}));
  std::string raw = ReadAll(dir.file("PCV.ini"));
  WriteAll(dir.file("PCV.ini"), raw.replace(raw.find("x?"), 2, "x\x80"));
  EXPECT_TRUE(start(s).complete);
  EXPECT_EQ(s.htmlFileName, "x\xEF\xBF\xBD");
}

TEST(SettingsFile, LoadCommandChecksTheHeaderAndStopsAtConversionErrors) {
  TempDir dir;
  const AlbumSettings file = Changed();
  FakeWindow window;
  SettingsLines lines;
  MainValues main;
  main.currentFolder = dir.path();

  // 2.01: lines 4 to 94 applied, textColor unchanged.
  WriteAll(dir.file("a.ini"), FileOf(file, "Vistamo Ver2.01"));
  window.dialogAnswer = dir.file("a.ini");
  AlbumSettings s;
  EXPECT_EQ(SettingsLoadCommand(s, main, window), SettingsLoadResult::Loaded);
  std::vector<int> expected = {4, 6, 8, 10, 12};
  for (int l : Lines(18, 94)) expected.push_back(l);
  EXPECT_EQ(DifferingLines(s, AlbumSettings{}), expected);
  EXPECT_EQ(window.perRow, 7);

  // Every header of ours reads lines 1 to 94; only 2.02 also reads textColor.
  for (const std::string version : {"0.9", "1.1", "1.3", "1.31", "1.32", "1.55", "1.6", "2.0", "2.01", "2.02"}) {
    WriteAll(dir.file("v.ini"), FileOf(file, "Vistamo Ver" + version));
    window.dialogAnswer = dir.file("v.ini");
    s = AlbumSettings{};
    EXPECT_EQ(SettingsLoadCommand(s, main, window), SettingsLoadResult::Loaded);
    std::vector<int> want = expected;
    if (version == "2.02") want.push_back(96);
    EXPECT_EQ(DifferingLines(s, AlbumSettings{}), want) << version;
  }

  // A header not ours is refused silently.
  WriteAll(dir.file("b.ini"), FileOf(file, "ABCDEFGHIJK2.02"));
  window.dialogAnswer = dir.file("b.ini");
  s = AlbumSettings{};
  EXPECT_EQ(SettingsLoadCommand(s, main, window), SettingsLoadResult::NotSettingsFile);
  EXPECT_EQ(s, AlbumSettings{});
  EXPECT_TRUE(window.messages.empty());

  // 1.6 cut after line 84: the empty line 86 is applied, line 88 stops it.
  WriteAll(dir.file("c.ini"), FileOf(file, "Vistamo Ver1.6", 85));
  window.dialogAnswer = dir.file("c.ini");
  s = AlbumSettings{};
  window.refills = 0;
  EXPECT_EQ(SettingsLoadCommand(s, main, window), SettingsLoadResult::ConversionError);
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_NE(window.messages[0].find("89"), std::string::npos);
  EXPECT_EQ(s.pictureFrame, "");
  EXPECT_EQ(s.slideShowMaxY, "v41");
  EXPECT_EQ(s.picturesPerRow, 5);
  EXPECT_EQ(s.clearThumbnailFolder, "off");
  EXPECT_EQ(window.refills, 0);

  // Cancelled, missing file: nothing changes; loadWithoutAsking always ends off.
  window.messages.clear();
  window.dialogAnswer.reset();
  EXPECT_EQ(SettingsLoadCommand(s, main, window), SettingsLoadResult::Cancelled);
  main.loadWithoutAsking = true;
  main.folderSettingsPath = dir.file("none.ini");
  s = AlbumSettings{};
  EXPECT_EQ(SettingsLoadCommand(s, main, window), SettingsLoadResult::CannotOpen);
  EXPECT_FALSE(main.loadWithoutAsking);
  EXPECT_EQ(s, AlbumSettings{});
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_NE(window.messages[0].find("none.ini"), std::string::npos);
}

TEST(SettingsFile, SaveCommandFixesTheExtensionAndGuardsTheDefaultFiles) {
  TempDir dir;
  MainValues main;
  main.programFolder = dir.file("home");
  main.currentFolder = dir.path();
  ASSERT_TRUE(MakeFolders(main.programFolder));
  AlbumSettings s;
  SettingsLines lines;
  FakeWindow window;

  for (const std::string name : {"album", "album.INI", "album.txt"}) {
    std::remove(dir.file("album.ini").c_str());
    window.dialogAnswer = dir.file(name);
    EXPECT_EQ(SettingsSaveCommand(s, main, window), SettingsSaveResult::Saved) << name;
    EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"album.ini", "home"})) << name;
  }
  EXPECT_EQ(window.dialogs.back(), RenderMessage(kSettingsFilter) + "|" + dir.path());

  for (const std::string name : {"PCV.ini", "Vistamo", "PCV.INI"}) {
    window.messages.clear();
    window.dialogAnswer = main.programFolder + "/" + name;
    EXPECT_EQ(SettingsSaveCommand(s, main, window), SettingsSaveResult::Refused);
    EXPECT_EQ(window.messages, std::vector<std::string>{RenderMessage(msg::kSettingsNameRefused)});
  }
  EXPECT_TRUE(ListDir(main.programFolder).empty());

  // A write that fails keeps the old file and shows the system's reason.
  window.messages.clear();
  window.dialogAnswer = dir.file("nofolder/x.ini");
  EXPECT_EQ(SettingsSaveCommand(s, main, window), SettingsSaveResult::WriteFailed);
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_NE(window.messages[0].find("x.ini"), std::string::npos);
  EXPECT_EQ(WriteSettingsFile(dir.file("nofolder/x.ini"), lines).code(), ErrorCode::NotFound);
  const std::string before = ReadAll(dir.file("album.ini"));
  SinkOpening opened = OpenAtomicSink(dir.file("album.ini"));
  ASSERT_TRUE(opened.sink);
  s.headerComment = "changed";
  FillSettingsLines(s, "2.02", lines);
  const Status full = WriteSettingsFile(std::make_unique<LimitedSink>(std::move(opened.sink), 500), lines);
  EXPECT_FALSE(full.ok());
  EXPECT_EQ(full.code(), ErrorCode::CannotWrite);
  EXPECT_EQ(full.reason(), "No space left on device");
  EXPECT_EQ(ReadAll(dir.file("album.ini")), before);
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"album.ini", "home"}));
  // A folder that may not be written (root writes any).
  if (::geteuid() != 0) {
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const Status refused = WriteSettingsFile(dir.file("album.ini"), lines);
    EXPECT_EQ(refused.code(), ErrorCode::CannotWrite);
    EXPECT_EQ(refused.reason(), dir.file("album.ini") + ": Permission denied");
    EXPECT_EQ(ReadAll(dir.file("album.ini")), before);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  }
}

TEST(SettingsFile, AutoSaveAsksBeforeReplacingAndDiscoveryFindsTheFile) {
  TempDir dir;
  MainValues main;
  main.programFolder = dir.file("home");
  ASSERT_TRUE(MakeFolders(main.programFolder + "/inifile"));
  ASSERT_TRUE(MakeFolders(dir.file("Trip")));
  main.currentFolder = dir.file("Trip");
  main.albumTitle = "Trip";
  main.folderSettingsPath = DefaultSettingsPath(main.programFolder);
  AlbumSettings s;
  s.headerComment = "first";
  SettingsLines lines;
  FakeWindow window;
  const std::string target = main.programFolder + "/inifile/Trip.ini";

  EXPECT_EQ(AutoSaveSettings(s, main, window), AutoSaveResult::Written);
  EXPECT_TRUE(window.questions.empty());
  s.headerComment = "second";
  window.answer = false;
  EXPECT_EQ(AutoSaveSettings(s, main, window), AutoSaveResult::Declined);
  EXPECT_EQ(window.questions, std::vector<std::string>{RenderMessage(msg::kAutoSaveCaption) + "|" + RenderMessage(msg::kAutoSaveQuestion)});
  EXPECT_NE(ReadAll(target).find("first"), std::string::npos);
  window.answer = true;
  EXPECT_EQ(AutoSaveSettings(s, main, window), AutoSaveResult::Written);
  EXPECT_NE(ReadAll(target).find("second"), std::string::npos);

  // Discovery: the inifile match, in any letter case.
  std::rename(target.c_str(), (main.programFolder + "/inifile/TRIP.Ini").c_str());
  EXPECT_TRUE(DiscoverFolderSettings(main, window));
  EXPECT_EQ(main.folderSettingsPath, main.programFolder + "/inifile/TRIP.Ini");
  EXPECT_EQ(window.button9, true);

  // Button9 loads it without asking and disables itself.
  AlbumSettings loaded;
  EXPECT_EQ(LoadFolderSettings(loaded, main, window), SettingsLoadResult::Loaded);
  EXPECT_EQ(loaded.headerComment, "second");
  EXPECT_EQ(window.button9, false);
  EXPECT_FALSE(main.loadWithoutAsking);

  // A file named exactly PCV.ini in the folder is passed over; other .ini
  // files win over the inifile match, the last in name order first.
  WriteAll(dir.file("Trip/PCV.ini"), "");
  EXPECT_TRUE(DiscoverFolderSettings(main, window));
  EXPECT_EQ(main.folderSettingsPath, main.programFolder + "/inifile/TRIP.Ini");
  WriteAll(dir.file("Trip/b.INI"), "");
  WriteAll(dir.file("Trip/a.ini"), "");
  WriteAll(dir.file("Trip/pcv.ini"), "");
  EXPECT_TRUE(DiscoverFolderSettings(main, window));
  EXPECT_EQ(main.folderSettingsPath, dir.file("Trip/pcv.ini"));

  // Nothing found: Button9 disabled, the path kept.
  main.currentFolder = main.programFolder;
  main.albumTitle = "home";
  EXPECT_FALSE(DiscoverFolderSettings(main, window));
  EXPECT_EQ(window.button9, false);
  EXPECT_EQ(main.folderSettingsPath, dir.file("Trip/pcv.ini"));

  // The root folder's file is ".ini".
  EXPECT_EQ(FolderSettingsPath("/p", "/"), "/p/inifile/.ini");
}

TEST(SettingsFile, UnencodableCharactersRoundTrip) {
  AlbumSettings s;
  s.headerComment = "café 😀";
  s.footerComment = "&#65; stays";
  SettingsLines lines;
  FillSettingsLines(s, "2.02", lines);
  TempDir dir;
  ASSERT_TRUE(Succeeded(WriteSettingsFile(dir.file("PCV.ini"), lines)));
  const std::string bytes = ReadAll(dir.file("PCV.ini"));
  EXPECT_NE(bytes.find("caf&#233; &#128512;\r\n"), std::string::npos);
  AlbumSettings back;
  FakeWindow window;
  ReadSettingsAtStart(StartupSettingsPath(dir.path()), back, window);
  EXPECT_EQ(back, s);
  FillSettingsLines(back, "2.02", lines);
  ASSERT_TRUE(Succeeded(WriteSettingsFile(dir.file("PCV.ini"), lines)));
  EXPECT_EQ(ReadAll(dir.file("PCV.ini")), bytes);
}

}  // namespace
}  // namespace pictavo
