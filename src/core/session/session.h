#pragma once
// The program's flow between commands, the same for every front end: the
// start-up that fills the settings record, entering a folder, the folder's
// picture list, and the album run over the current folder as the main
// window's Execute (and the batch, which drives the main window) runs it.
// The windows and the command line keep only their controls and options.

#include <optional>
#include <string>
#include <vector>

#include "album/album_run.h"
#include "batch/batch_run.h"
#include "platform/error.h"
#include "settings/album_settings.h"
#include "settings/settings_file.h"

namespace pictavo {

// What the main window owns for the length of the program: the settings
// record, the main-window values, the per-row control (UpDown1) and the
// picture list (OldFile).
struct Session {
  AlbumSettings settings;
  MainValues main;
  int perRow = 5;
  std::vector<PictureEntry> pictures;
};

// Mirrors the window steps of the settings commands into the session (the
// per-row control) and passes everything else on to the real window.
class SessionWindow : public SettingsWindow {
 public:
  SessionWindow(Session& session, SettingsWindow& window) : m_session(session), m_window(window) {}
  void showMessage(const Message& message) override { m_window.showMessage(message); }
  bool askYesNo(const Message& question, const Message& caption) override {
    return m_window.askYesNo(question, caption);
  }
  void note(const Message& detail) override { m_window.note(detail); }
  void setPicturesPerRow(int16_t count) override;
  void setLoadButtonEnabled(bool enabled) override { m_window.setLoadButtonEnabled(enabled); }
  std::optional<std::string> chooseOpenFile(const Message& filter, const std::string& folder) override {
    return m_window.chooseOpenFile(filter, folder);
  }
  std::optional<std::string> chooseSaveFile(const Message& filter, const std::string& folder) override {
    return m_window.chooseSaveFile(filter, folder);
  }
  void refillOptions() override { m_window.refillOptions(); }

 private:
  Session& m_session;
  SettingsWindow& m_window;
};

// The per-row control's rule: 1 to 10, whatever the stored value says.
int ClampPicturesPerRow(int count);

struct StartUpOptions {
  std::string programFolder;  // empty: the default program folder
  std::string settingsFile;   // read instead of PCV.ini (or Vistamo.ini) when given
};

struct StartUpReport {
  StartupReading reading;                   // what the settings file gave beside the record
  std::optional<Error> programFolderError;  // it could not be created; the start goes on
  std::optional<Error> settingsFileError;   // the named file is missing; the defaults stay
};

// Program start: the defaults, the program folder with its inifile/ folder
// (created when missing), then the start-up reading of the settings file.
[[nodiscard]] StartUpReport StartUp(Session& session, const StartUpOptions& options, SettingsWindow& window);

// Entering a folder, as the folder list does on every change: the current
// folder and the album title, then the look for the folder's own settings
// file. True when one was found (the load button is then enabled).
bool EnterFolder(Session& session, const std::string& folder, SettingsWindow& window);

// The folder's files whose extension in lower case is `extension`, in
// case-insensitive name order, all selected. Names that are not valid
// UTF-8 are passed over and counted.
struct FolderPictureList {
  std::vector<PictureEntry> pictures;
  size_t skippedNames = 0;
  bool ok = true;
  std::string error;  // the folder and the system's reason when !ok
};
FolderPictureList FolderPictures(const std::string& folder, const std::string& extension = ".jpg");

// The folder a path names: a file's folder, else the path itself (absolute).
std::string FolderOfPath(const std::string& path);

// The folder a window shows when asked for `wanted`: the folder itself
// (absolute) when it exists and can be listed, else the home folder, without
// a message. Every window that shows folders falls back the same way, to the
// place a user knows.
std::string FolderToShow(const std::string& wanted);

// The folder the main window asks for at start: the command line's path (a
// file: its folder) when one is given, else the settings' start folder when
// it is a folder, else the home folder. FolderToShow still applies.
std::string StartFolder(const std::string& startFolder, const std::string& commandLinePath);

// The local date of today.
CivilDate Today();

// The main window as the album run and the batch see it: the current folder
// and picture list of the session, made with the run's full duties
// (comment file, auto-save, comment table, background, end notice). Names a
// listing passes over go to the host (namesPassedOver). The command line's
// batch uses it as it is; the windows do not derive from it but drive the
// main window's own controls (MainWindowDriver in gui/batch_window).
class SessionAlbumDriver : public AlbumDriver {
 public:
  SessionAlbumDriver(Session& session, AlbumRunHost& host, SettingsWindow& window, CivilDate today)
      : m_session(session), m_host(host), m_window(window), m_today(today) {}
  void moveToFolder(const std::string& folder) override;
  const std::vector<PictureEntry>& listPictures() override;
  void deselect(const std::string& name) override;
  RunOutcome runAlbum() override;

 protected:
  Session& session() { return m_session; }
  AlbumRunHost& host() { return m_host; }

 private:
  Session& m_session;
  AlbumRunHost& m_host;
  SettingsWindow& m_window;
  CivilDate m_today;
};

// The album run over the session's current folder and picture list, with
// the run's full duties.
RunOutcome RunAlbumInSession(Session& session, AlbumRunHost& host, CivilDate today);

}  // namespace pictavo
