#include "settings/settings_file.h"

#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "text/chars.h"
#include "platform/textfile.h"

namespace pictavo {

const std::array<const char*, kSettingFieldCount>& SettingsKeyTexts() {
  static const std::array<const char*, kSettingFieldCount> keys = [] {
    std::array<const char*, kSettingFieldCount> out{};
    for (size_t k = 0; k < kSettingFieldCount; ++k) out[k] = SettingFields()[k].key;
    return out;
  }();
  return keys;
}

namespace {

constexpr int kLastLine = kSettingsLineCount - 1;

// Field k's key and value lines.
int KeyLine(size_t field) { return static_cast<int>(2 * field + 1); }
int ValueLine(size_t field) { return static_cast<int>(2 * field + 2); }

// Copies field k's value line into the record; false when an integer
// field's line is not a decimal integer in range.
bool ApplyLine(AlbumSettings& s, const SettingsLines& lines, size_t field) {
  return SettingFields()[field].set(s, lines[static_cast<size_t>(ValueLine(field))]);
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

int FillSettingsLines(const AlbumSettings& settings, const std::string& programVersion, SettingsLines& lines) {
  lines[0] = kSettingsHeaderPrefix + programVersion;
  for (size_t k = 0; k < kSettingFieldCount; ++k) {
    const SettingField& field = SettingFields()[k];
    lines[static_cast<size_t>(KeyLine(k))] = field.key;
    lines[static_cast<size_t>(ValueLine(k))] = field.get(settings);
  }
  return kLastLine;
}

Status WriteSettingsFile(std::unique_ptr<ByteSink> sink, const SettingsLines& lines) {
  TextWriter writer(std::move(sink));
  for (const auto& line : lines) {
    if (!writer.writeLine(line)) break;
  }
  if (!writer.close()) return Status::Failure(ErrorCode::CannotWrite, writer.error());
  return {};
}

Status WriteSettingsFile(const std::string& path, const SettingsLines& lines) {
  SinkOpening opened = OpenAtomicSink(path);
  if (!opened.sink) return opened.status;
  return WriteSettingsFile(std::move(opened.sink), lines);
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

// The main window's per-row control shows this field as soon as it is read.
bool IsPerRow(const SettingField& field) { return field.int16 == &AlbumSettings::picturesPerRow; }

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
  if (const Status read = ReadFileBytes(path, bytes, nullptr, kSettingsReadLimit); !read.ok()) {
    // Start-up goes on with the defaults; the reason is there for a note.
    result.problem = Detail(read.reason());
    return result;
  }
  TextReader reader(std::move(bytes), /*decodeReferences=*/true);
  for (auto& line : lines) line.clear();
  lines[0] = reader.readLine();
  // Applies field k's value line; false when it does not parse.
  const auto apply = [&](size_t field) {
    if (ApplyLine(settings, lines, field)) return true;
    const int line = ValueLine(field);
    result.problem = ConversionErrorText(path, line, lines[static_cast<size_t>(line)]);
    return false;
  };

  const auto version = ParseDecimalFraction(RightChars(lines[0], CharLength(lines[0]) - 11));
  if (!version) {
    result.problem = Message(MessageId::UnreadableVersion, {path, lines[0]});
    return result;
  }
  // A file of version v holds the lines of every field added up to v, in
  // field order: the fields of each version are read, then applied.
  const auto& fields = SettingFields();
  for (size_t first = 0, end = 0; first < kSettingFieldCount; first = end) {
    const std::string_view since = fields[first].since;
    while (end < kSettingFieldCount && fields[end].since == since) ++end;
    if (!AtLeast(*version, fields[first].since)) {
      if (since == "1.1") ApplyBefore11(settings);
      continue;
    }
    for (int i = KeyLine(first); i <= ValueLine(end - 1); ++i) lines[static_cast<size_t>(i)] = reader.readLine();
    bool perRow = false;
    for (size_t k = first; k < end; ++k) {
      if (fields[k].read != SettingRead::Stepped) continue;
      if (!apply(k)) return result;
      perRow = perRow || IsPerRow(fields[k]);
    }
    if (perRow) window.setPicturesPerRow(settings.picturesPerRow);
  }
  // The oldest fields last, the window's place handed back, not applied.
  for (size_t k = 0; k < kSettingFieldCount; ++k) {
    const SettingField& field = fields[k];
    if (field.read == SettingRead::WindowPlace) {
      std::string& place = field.text == &AlbumSettings::displayLeft ? result.windowLeft : result.windowTop;
      place = lines[static_cast<size_t>(ValueLine(k))];
    } else if (field.read != SettingRead::Stepped && !apply(k)) {
      return result;
    }
  }
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
  bool opened = false;
  if (const Status read = ReadFileBytes(path, bytes, &opened, kSettingsReadLimit); !read.ok()) {
    if (!opened) {
      window.showMessage(Detail(read.reason()));
      return SettingsLoadResult::CannotOpen;
    }
    window.note(Detail(read.reason()));
    window.showMessage(msg::kSettingsReadFailed);
    return SettingsLoadResult::ReadFailed;
  }
  TextReader reader(std::move(bytes), /*decodeReferences=*/true);
  lines[0] = reader.readLine();
  const bool ours = LeftChars(lines[0], 11) == kSettingsHeaderPrefix;
  const std::string currentHeader = std::string(kSettingsHeaderPrefix) + kProgramVersion;
  const bool current = LeftChars(lines[0], CharLength(currentHeader)) == currentHeader;
  if (!ours) return SettingsLoadResult::NotSettingsFile;
  // The newest version's fields are read only from a file of the program's
  // own version; every older field from any file of ours.
  const auto& fields = SettingFields();
  const auto present = [&](const SettingField& field) {
    return current || std::string_view(field.since) != fields.back().since;
  };
  for (size_t k = 0; k < kSettingFieldCount && present(fields[k]); ++k) {
    lines[static_cast<size_t>(KeyLine(k))] = reader.readLine();
    lines[static_cast<size_t>(ValueLine(k))] = reader.readLine();
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

  // The start folder and the window's place stay as they are.
  for (size_t k = 0; k < kSettingFieldCount; ++k) {
    const SettingField& field = fields[k];
    if (field.read == SettingRead::StartOnly || field.read == SettingRead::WindowPlace || !present(field)) continue;
    if (!ApplyLine(settings, lines, k)) {
      const int line = ValueLine(k);
      window.showMessage(ConversionErrorText(path, line, lines[static_cast<size_t>(line)]));
      return SettingsLoadResult::ConversionError;
    }
    if (IsPerRow(field)) window.setPicturesPerRow(settings.picturesPerRow);
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
  FillSettingsLines(settings, main.programVersion, lines);
  std::string path = chosen;
  const std::string extension = Extension(LastComponent(path));
  if (extension != ".ini") path = path.substr(0, path.size() - extension.size()) + ".ini";
  const std::string full = AbsolutePath(path);
  const std::string home = FolderBase(AbsolutePath(main.programFolder));
  if (full == home + kOlderSettingsName || full == home + kDefaultSettingsName) {
    window.showMessage(msg::kSettingsNameRefused);
    return SettingsSaveResult::Refused;
  }
  if (const Status written = WriteSettingsFile(path, lines); !written.ok()) {
    window.showMessage(Detail(written.reason()));
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
  FillSettingsLines(settings, main.programVersion, lines);
  const std::string path = FolderSettingsPath(main.programFolder, main.currentFolder);
  if (PathExists(path) && !dialogs.askYesNo(msg::kAutoSaveQuestion, msg::kAutoSaveCaption)) {
    return AutoSaveResult::Declined;
  }
  if (const Status written = WriteSettingsFile(path, lines); !written.ok()) {
    dialogs.note(Detail(written.reason()));
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
