#pragma once
// The 97-line settings file: a header line with the program version, then a
// bracketed key line and a value line for each of the 48 fields, laid out by
// SettingFields(). All reading is by line position; key lines are written
// but never read back.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/dialog_host.h"
#include "platform/error.h"
#include "platform/sink.h"
#include "settings/album_settings.h"

namespace pictavo {

inline constexpr int kSettingsLineCount = 1 + 2 * static_cast<int>(kSettingFieldCount);
// A settings file is read only this far: 97 lines never need more.
inline constexpr size_t kSettingsReadLimit = 1024 * 1024;
// The line buffer the main window owns: writers fill it whole, readers leave
// the lines of the last read in it.
using SettingsLines = std::array<std::string, kSettingsLineCount>;

inline constexpr const char* kSettingsHeaderPrefix = "Vistamo Ver";
inline constexpr const char* kDefaultSettingsName = "PCV.ini";
inline constexpr const char* kOlderSettingsName = "Vistamo.ini";
inline constexpr const char* kFolderSettingsDir = "inifile";
inline const Message kSettingsFilter{MessageId::SettingsFilter};

namespace msg {
inline const Message kSettingsNameRefused{MessageId::SettingsNameRefused};
inline const Message kSettingsReadFailed{MessageId::SettingsReadFailed};
inline const Message kAutoSaveQuestion{MessageId::AutoSaveQuestion};
inline const Message kAutoSaveCaption{MessageId::AutoSaveCaption};
inline const Message kProgramsKept{MessageId::ProgramsKept};
}  // namespace msg

// The window steps of the settings commands. The core calls these; the
// windows (or the command line) decide how they look.
class SettingsWindow : public virtual DialogHost {
 public:
  // The per-row control UpDown1 and its display edit2.
  virtual void setPicturesPerRow(int16_t count) { (void)count; }
  // Button9 "設定の読込".
  virtual void setLoadButtonEnabled(bool enabled) { (void)enabled; }
  // Open and save dialogs; nullopt when cancelled.
  virtual std::optional<std::string> chooseOpenFile(const Message& filter, const std::string& folder) = 0;
  virtual std::optional<std::string> chooseSaveFile(const Message& filter, const std::string& folder) = 0;
  // Refills the options dialog from the record and shows its first page.
  virtual void refillOptions() {}
};

// "[起動フォルダ]" ... "[テキストの色]", the key of line 2k+1 for field k.
const std::array<const char*, kSettingFieldCount>& SettingsKeyTexts();

// Fills all 97 lines from the record: the header with programVersion, then
// each field's key and value. Returns 96, the index of the last line.
int FillSettingsLines(const AlbumSettings& settings, const std::string& programVersion, SettingsLines& lines);

// Writes lines 0 to 96, each followed by CR LF, replacing the file atomically.
// A failure names the file and the system's reason; the old file stays.
Status WriteSettingsFile(const std::string& path, const SettingsLines& lines);
Status WriteSettingsFile(std::unique_ptr<ByteSink> sink, const SettingsLines& lines);

std::string DefaultSettingsPath(const std::string& programFolder);  // programFolder/PCV.ini
// The per-folder file: programFolder/inifile/<last component>.ini.
std::string FolderSettingsPath(const std::string& programFolder, const std::string& currentFolder);

// What start-up reading leaves beside the record.
struct StartupReading {
  std::string path;  // the file read; empty when neither file exists
  std::string windowLeft = "0";
  std::string windowTop = "0";
  bool complete = false;  // every line its version provides was applied
  std::optional<Message> problem;  // why the reading ended early; none when it did not
};

// PCV.ini in the program folder, else Vistamo.ini, else empty.
std::string StartupSettingsPath(const std::string& programFolder);
// Start-up reading of `path`: applies what the header's version provides, in
// the fixed order; a line that does not parse ends the reading and leaves
// the fields applied so far. Never reports through a message.
StartupReading ReadSettingsAtStart(const std::string& path, AlbumSettings& settings, SettingsWindow& window);

enum class SettingsLoadResult {
  Loaded,
  Cancelled,        // the dialog was cancelled
  CannotOpen,       // the I/O error was shown; nothing changed
  ReadFailed,       // msg::kSettingsReadFailed was shown; nothing changed
  NotSettingsFile,  // the header is not ours; nothing changed, no message
  ConversionError,  // shown; the fields before the bad line keep the loaded values
};

// The menu command "設定ファイル読込", and the body of the folder-settings load.
SettingsLoadResult SettingsLoadCommand(AlbumSettings& settings, MainValues& main, SettingsWindow& window);
// True when path lies in the program folder or its inifile folder: files the
// program itself keeps, as opposed to a file found in a picture folder.
bool InProgramFolder(const std::string& path, const std::string& programFolder);
// The load button "設定の読込": loads folderSettingsPath without asking, then
// disables the button. A file that lies in the picture folder itself (its own .ini, not
// one of the program folder) loads every field but browserPath and
// externalViewerPath, which keep their values; a note says so.
SettingsLoadResult LoadFolderSettings(AlbumSettings& settings, MainValues& main, SettingsWindow& window);

enum class SettingsSaveResult { Saved, Cancelled, Refused, WriteFailed };

// The save step of the command for a chosen path: ".ini" put in place of
// another extension, the program folder's own files refused.
SettingsSaveResult SaveSettingsAs(const std::string& chosen, const AlbumSettings& settings, const MainValues& main,
                                  SettingsWindow& window, std::string* writtenPath = nullptr);
// The menu command "設定ファイル保存".
SettingsSaveResult SettingsSaveCommand(const AlbumSettings& settings, const MainValues& main, SettingsWindow& window);

enum class AutoSaveResult { Written, Declined, WriteFailed };

// The per-folder save at the start of a run (when autoSaveSettings is "on").
// An existing file is replaced only on Yes; a failed write is noted, not shown.
AutoSaveResult AutoSaveSettings(const AlbumSettings& settings, const MainValues& main, DialogHost& dialogs);

// On every change of currentFolder, after albumTitle is set: looks for
// <albumTitle>.ini in the inifile folder and any other .ini in the folder
// (a file named exactly PCV.ini excepted); the last match wins. Sets
// folderSettingsPath when something matched and enables Button9 accordingly.
bool DiscoverFolderSettings(MainValues& main, SettingsWindow& window);

}  // namespace pictavo
