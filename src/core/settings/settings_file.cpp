#include "settings/settings_file.h"

#include <vector>

#include "platform/paths.h"
#include "text/chars.h"
#include "text/textfile.h"

namespace pictavo {

const std::array<const char*, 48>& SettingsKeyTexts() {
  static const std::array<const char*, 48> keys = {
      "[起動フォルダ]",
      "[背景色]",
      "[背景パターン設定]",
      "[背景ファイル]",
      "[ブラウザ設定]",
      "[外部ビュアー設定]",
      "[表示水平位置]",
      "[表示垂直位置]",
      "[画像回転圧縮率]",
      "[画像回転バックアップ]",
      "[タイトル文字サイズ]",
      "[タイトル文字色]",
      "[タイトルフォント]",
      "[タイトルテーブル幅]",
      "[タイトル背景色]",
      "[タイトル斜体文字]",
      "[タイトル太文字]",
      "[サムネイル幅]",
      "[サムネイル高さ]",
      "[ブラウザ別起動]",
      "[javaでウインドウを開く]",
      "[スライドショウのHTMLを作成]",
      "[スライドショウの間隔]",
      "[サムネイル画像の圧縮率]",
      "[サムネイル画像のフィルタ]",
      "[ブラウザ起動チェック]",
      "[HTMLファイル名]",
      "[サムネイル画像フォルダ名]",
      "[タイトルのフォントを指定する]",
      "[ヘッダーを書き換える]",
      "[ヘッダーのコメント]",
      "[フッターを書き換える]",
      "[フッターのコメント]",
      "[フッターでlinkする]",
      "[フッターのlinkのURL]",
      "[タイトルにテーブルを使用する]",
      "[サムネイル画像に付加する文字列]",
      "[サムネイル画像の有無確認]",
      "[テーブルの幅]",
      "[スライドショウの最大値を指定]",
      "[スライドショウの最大値Ｘ]",
      "[スライドショウの最大値Ｙ]",
      "[画像の枠表示]",
      "[１行の枚数]",
      "[ｻﾑﾈｲﾙ画像のﾌｫﾙﾀﾞをｸﾘｱ]",
      "[設定ファイルを自動保存]",
      "[タイトルのテーブル幅]",
      "[テキストの色]",
  };
  return keys;
}

namespace {

constexpr int kLastLine = kSettingsLineCount - 1;

// The field held on value line `line` (2, 4, ... 96).
const std::string& FieldOfLine(int line) { return SettingsFieldNames()[static_cast<size_t>(line / 2 - 1)]; }

// Copies value line `line` into its field; false when an integer field's
// line is not a decimal integer in range.
bool ApplyLine(AlbumSettings& s, const SettingsLines& lines, int line) {
  std::string ignored;
  return SetSettingText(s, FieldOfLine(line), lines[static_cast<size_t>(line)], ignored);
}

// A version text as an exact decimal: "2.1" is at least "2.02", "1.30"
// equals "1.3". The header is only ever compared against fixed thresholds,
// so no floating point is involved.
struct Decimal {
  bool negative = false;
  std::string whole;     // without leading zeros
  std::string fraction;  // without trailing zeros
};

std::optional<Decimal> ParseDecimalFraction(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  Decimal d;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    d.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const auto dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  for (const char c : whole) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  for (const char c : fraction) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  d.whole = std::string(whole);
  d.whole.erase(0,
                d.whole.find_first_not_of('0') == std::string::npos ? d.whole.size() : d.whole.find_first_not_of('0'));
  d.fraction = std::string(fraction);
  while (!d.fraction.empty() && d.fraction.back() == '0') d.fraction.pop_back();
  if (d.whole.empty() && d.fraction.empty()) d.negative = false;
  return d;
}

// Compares magnitudes.
int CompareMagnitude(const Decimal& a, const Decimal& b) {
  if (a.whole.size() != b.whole.size()) return a.whole.size() < b.whole.size() ? -1 : 1;
  if (a.whole != b.whole) return a.whole < b.whole ? -1 : 1;
  const size_t n = std::max(a.fraction.size(), b.fraction.size());
  const std::string fa = a.fraction + std::string(n - a.fraction.size(), '0');
  const std::string fb = b.fraction + std::string(n - b.fraction.size(), '0');
  return fa == fb ? 0 : (fa < fb ? -1 : 1);
}

bool AtLeast(const Decimal& v, const char* threshold) {
  const Decimal t = *ParseDecimalFraction(threshold);  // thresholds are positive
  if (v.negative) return false;
  return CompareMagnitude(v, t) >= 0;
}

Message ConversionErrorText(const std::string& path, int line, const std::string& value) {
  return {MessageId::BadSettingsLine, {path, std::to_string(line + 1), value}};
}

bool IsIniExtension(const std::string& name) { return LowerAscii(Extension(name)) == ".ini"; }

}  // namespace

int inisave(const AlbumSettings& settings, const std::string& programVersion, SettingsLines& lines) {
  lines[0] = kSettingsHeaderPrefix + programVersion;
  const auto& names = SettingsFieldNames();
  for (size_t k = 0; k < names.size(); ++k) {
    lines[2 * k + 1] = SettingsKeyTexts()[k];
    lines[2 * k + 2] = *GetSettingText(settings, names[k]);
  }
  return kLastLine;
}

bool WriteSettingsFile(std::unique_ptr<ByteSink> sink, const SettingsLines& lines, std::string& error) {
  TextWriter writer(std::move(sink));
  for (const auto& line : lines) {
    if (!writer.writeLine(line)) break;
  }
  if (!writer.close()) {
    error = writer.error();
    return false;
  }
  return true;
}

bool WriteSettingsFile(const std::string& path, const SettingsLines& lines, std::string& error) {
  auto sink = OpenAtomicSink(path, error);
  return sink && WriteSettingsFile(std::move(sink), lines, error);
}

std::string DefaultSettingsPath(const std::string& programFolder) {
  return FolderBase(programFolder) + kDefaultSettingsName;
}

std::string FolderSettingsPath(const std::string& programFolder, const std::string& currentFolder) {
  return FolderBase(programFolder) + kFolderSettingsDir + "/" + LastComponent(currentFolder) + ".ini";
}

std::string StartupSettingsPath(const std::string& programFolder) {
  const std::string current = DefaultSettingsPath(programFolder);
  if (FileExists(current)) return current;
  const std::string older = FolderBase(programFolder) + kOlderSettingsName;
  if (FileExists(older)) return older;
  return {};
}

namespace {

// The lines each version of the file added, oldest first: a file of version
// v provides every step up to v. Value lines are the even ones from
// firstValue to lastLine; lines 2 to 20 are applied after the ladder.
struct VersionStep {
  const char* version;
  int firstLine, lastLine, firstValue;
};
constexpr VersionStep kVersionSteps[] = {
    {"0.9", 1, 34, 22},   {"1.1", 35, 46, 36}, {"1.3", 47, 52, 48}, {"1.31", 53, 56, 54}, {"1.32", 57, 72, 58},
    {"1.55", 73, 78, 74}, {"1.6", 79, 84, 80}, {"2", 85, 94, 86},   {"2.02", 95, 96, 96},
};

// Files older than 1.1 had no box size or slide show: their values then.
void ApplyBefore11(AlbumSettings& settings) {
  settings.openInSubWindow = "off";
  settings.thumbnailWidth = "110";
  settings.thumbnailHeight = "150";
  settings.makeSlideShow = "off";
  settings.slideShowInterval = "3";
}

}  // namespace

StartupReading ReadSettingsAtStart(const std::string& path, AlbumSettings& settings, SettingsWindow& window) {
  SettingsLines lines{};
  StartupReading result;
  result.path = path;
  if (path.empty()) return result;
  std::string bytes;
  std::string error;
  if (!ReadFileBytes(path, bytes, error, nullptr, kSettingsReadLimit)) {
    // Start-up goes on with the defaults; the reason is there for a note.
    result.problem = Detail(error);
    return result;
  }
  TextReader reader(std::move(bytes), /*decodeReferences=*/true);
  for (auto& line : lines) line.clear();
  lines[0] = reader.readLine();
  // Applies value lines in order; false at the first that does not parse.
  const auto apply = [&](int from, int to) {
    for (int line = from; line <= to; line += 2) {
      if (!ApplyLine(settings, lines, line)) {
        result.problem = ConversionErrorText(path, line, lines[static_cast<size_t>(line)]);
        return false;
      }
    }
    return true;
  };

  const auto version = ParseDecimalFraction(RightChars(lines[0], CharLength(lines[0]) - 11));
  if (!version) {
    result.problem = Message(MessageId::UnreadableVersion, {path, lines[0]});
    return result;
  }
  for (const VersionStep& step : kVersionSteps) {
    if (!AtLeast(*version, step.version)) {
      if (std::string_view(step.version) == "1.1") ApplyBefore11(settings);
      continue;
    }
    for (int i = step.firstLine; i <= step.lastLine; ++i) lines[static_cast<size_t>(i)] = reader.readLine();
    if (!apply(step.firstValue, step.lastLine)) return result;
    if (std::string_view(step.version) == "2") window.setPicturesPerRow(settings.picturesPerRow);
  }
  if (!apply(2, 12)) return result;
  result.windowLeft = lines[14];
  result.windowTop = lines[16];
  if (!apply(18, 20)) return result;
  result.complete = true;
  return result;
}

bool InProgramFolder(const std::string& path, const std::string& programFolder) {
  const std::string folder = ParentFolder(AbsolutePath(path));
  const std::string home = AbsolutePath(programFolder);
  return folder == home || folder == FolderBase(home) + kFolderSettingsDir;
}

SettingsLoadResult SettingsLoadCommand(AlbumSettings& settings, MainValues& main, SettingsWindow& window) {
  SettingsLines lines{};
  struct AskAgainNextTime {
    MainValues& main;
    ~AskAgainNextTime() { main.loadWithoutAsking = false; }
  } reset{main};

  std::string path;
  if (main.loadWithoutAsking) {
    path = main.folderSettingsPath;
  } else {
    const auto chosen = window.chooseOpenFile(kSettingsFilter, main.currentFolder);
    if (!chosen) return SettingsLoadResult::Cancelled;
    path = *chosen;
  }

  std::string bytes;
  std::string error;
  bool opened = false;
  if (!ReadFileBytes(path, bytes, error, &opened, kSettingsReadLimit)) {
    if (!opened) {
      window.showMessage(Detail(error));
      return SettingsLoadResult::CannotOpen;
    }
    window.note(Detail(error));
    window.showMessage(msg::kSettingsReadFailed);
    return SettingsLoadResult::ReadFailed;
  }
  TextReader reader(std::move(bytes), /*decodeReferences=*/true);
  lines[0] = reader.readLine();
  const bool ours = LeftChars(lines[0], 11) == kSettingsHeaderPrefix;
  const std::string currentHeader = std::string(kSettingsHeaderPrefix) + kProgramVersion;
  const bool current = LeftChars(lines[0], CharLength(currentHeader)) == currentHeader;
  if (!ours) return SettingsLoadResult::NotSettingsFile;
  for (int i = 1; i <= 94; ++i) lines[static_cast<size_t>(i)] = reader.readLine();
  if (current) {
    lines[95] = reader.readLine();
    lines[96] = reader.readLine();
  }

  // A file found in a picture folder came with the pictures, perhaps from
  // someone else: it may not choose the programs the commands start.
  struct KeepPrograms {
    AlbumSettings& settings;
    bool active;
    std::string browser = settings.browserPath;
    std::string viewer = settings.externalViewerPath;
    void restore() {
      if (!active) return;
      settings.browserPath = browser;
      settings.externalViewerPath = viewer;
      active = false;
    }
    ~KeepPrograms() { restore(); }
  } keep{settings, main.loadWithoutAsking && ParentFolder(AbsolutePath(path)) == AbsolutePath(main.currentFolder) &&
                       !InProgramFolder(path, main.programFolder)};
  if (keep.active) window.note(Message(MessageId::ProgramsKeptIn, {path}));

  // Lines 2, 14 and 16 (start folder, window position) stay as they are.
  std::vector<int> order = {4, 6, 8, 10, 12, 18};
  for (int line = 20; line <= 94; line += 2) order.push_back(line);
  if (current) order.push_back(96);
  for (const int line : order) {
    if (!ApplyLine(settings, lines, line)) {
      window.showMessage(ConversionErrorText(path, line, lines[static_cast<size_t>(line)]));
      return SettingsLoadResult::ConversionError;
    }
    if (line == 88) window.setPicturesPerRow(settings.picturesPerRow);
  }
  keep.restore();
  window.refillOptions();
  return SettingsLoadResult::Loaded;
}

SettingsLoadResult LoadFolderSettings(AlbumSettings& settings, MainValues& main, SettingsWindow& window) {
  main.loadWithoutAsking = true;
  const SettingsLoadResult result = SettingsLoadCommand(settings, main, window);
  main.loadWithoutAsking = false;
  window.setLoadButtonEnabled(false);
  return result;
}

SettingsSaveResult SaveSettingsAs(const std::string& chosen, const AlbumSettings& settings, const MainValues& main,
                                  SettingsWindow& window, std::string* writtenPath) {
  SettingsLines lines{};
  inisave(settings, main.programVersion, lines);
  std::string path = chosen;
  const std::string extension = Extension(LastComponent(path));
  if (extension != ".ini") path = path.substr(0, path.size() - extension.size()) + ".ini";
  const std::string full = AbsolutePath(path);
  const std::string home = FolderBase(AbsolutePath(main.programFolder));
  if (full == home + kOlderSettingsName || full == home + kDefaultSettingsName) {
    window.showMessage(msg::kSettingsNameRefused);
    return SettingsSaveResult::Refused;
  }
  std::string error;
  if (!WriteSettingsFile(path, lines, error)) {
    window.showMessage(Detail(error));
    return SettingsSaveResult::WriteFailed;
  }
  if (writtenPath) *writtenPath = path;
  return SettingsSaveResult::Saved;
}

SettingsSaveResult SettingsSaveCommand(const AlbumSettings& settings, const MainValues& main, SettingsWindow& window) {
  const auto chosen = window.chooseSaveFile(kSettingsFilter, main.currentFolder);
  if (!chosen) return SettingsSaveResult::Cancelled;
  return SaveSettingsAs(*chosen, settings, main, window);
}

AutoSaveResult AutoSaveSettings(const AlbumSettings& settings, const MainValues& main, DialogHost& dialogs) {
  SettingsLines lines{};
  inisave(settings, main.programVersion, lines);
  const std::string path = FolderSettingsPath(main.programFolder, main.currentFolder);
  if (PathExists(path) && !dialogs.askYesNo(msg::kAutoSaveQuestion, msg::kAutoSaveCaption)) {
    return AutoSaveResult::Declined;
  }
  std::string error;
  if (!WriteSettingsFile(path, lines, error)) {
    dialogs.note(Detail(error));
    return AutoSaveResult::WriteFailed;
  }
  return AutoSaveResult::Written;
}

bool DiscoverFolderSettings(MainValues& main, SettingsWindow& window) {
  bool found = false;
  const std::string inifile = FolderBase(main.programFolder) + kFolderSettingsDir;
  const std::string wanted = LowerAscii(main.albumTitle + ".ini");
  for (const auto& name : ListFiles(inifile).names) {
    if (LowerAscii(name) == wanted) {
      found = true;
      main.folderSettingsPath = FolderBase(inifile) + name;
    }
  }
  for (const auto& name : ListFiles(main.currentFolder).names) {
    if (name != kDefaultSettingsName && IsIniExtension(name)) {
      found = true;
      main.folderSettingsPath = FolderBase(main.currentFolder) + name;
    }
  }
  window.setLoadButtonEnabled(found);
  return found;
}

}  // namespace pictavo
