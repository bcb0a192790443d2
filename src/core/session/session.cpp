#include "session/session.h"

#include <algorithm>
#include <ctime>
#include <memory>

#include "album/run_extras.h"
#include "platform/paths.h"
#include "text/chars.h"
#include "toc/discovery.h"

namespace pictavo {

int ClampPicturesPerRow(int count) { return std::clamp(count, kMinPicturesPerRow, kMaxPicturesPerRow); }

void SessionWindow::setPicturesPerRow(int16_t count) {
  m_session.perRow = ClampPicturesPerRow(count);
  m_window.setPicturesPerRow(count);
}

StartUpReport StartUp(Session& session, const StartUpOptions& options, SettingsWindow& window) {
  StartUpReport report;
  ResetSettings(session.settings);
  SessionWindow mirror(session, window);
  mirror.setPicturesPerRow(session.settings.picturesPerRow);
  MainValues& main = session.main;
  main.programFolder = options.programFolder.empty() ? DefaultProgramFolder() : AbsolutePath(options.programFolder);
  if (!MakeFolders(FolderBase(main.programFolder) + kFolderSettingsDir)) {
    report.programFolderError = Error{ErrorCode::CannotWrite, Message(MessageId::ProgramFolderFailed, {main.programFolder})};
  }
  main.folderSettingsPath = DefaultSettingsPath(main.programFolder);
  std::string path = StartupSettingsPath(main.programFolder);
  if (!options.settingsFile.empty()) {
    path = AbsolutePath(options.settingsFile);
    if (!FileExists(path)) {
      report.settingsFileError = Error{ErrorCode::NotFound, Message(MessageId::NoSettingsFile, {options.settingsFile})};
      return report;
    }
  }
  report.reading = ReadSettingsAtStart(path, session.settings, mirror);
  return report;
}

bool EnterFolder(Session& session, const std::string& folder, SettingsWindow& window) {
  session.main.currentFolder = folder;
  session.main.albumTitle = FolderTitle(folder);
  return DiscoverFolderSettings(session.main, window);
}

FolderPictureList FolderPictures(const std::string& folder, const std::string& extension) {
  FolderPictureList list;
  const Listing files = ListFiles(folder);
  list.ok = files.ok;
  list.error = files.error;
  list.skippedNames = files.skipped.size();
  for (const auto& name : files.names) {
    if (LowerAscii(Extension(name)) == extension) list.pictures.push_back({name, true});
  }
  return list;
}

std::string FolderOfPath(const std::string& path) {
  const std::string absolute = AbsolutePath(path);
  return FileExists(absolute) ? ParentFolder(absolute) : absolute;
}

std::string FolderToShow(const std::string& wanted) {
  const std::string folder = AbsolutePath(wanted);
  if (!wanted.empty() && FolderExists(folder) && ListFiles(folder).ok) return folder;
  return HomeFolder();
}

std::string StartFolder(const std::string& startFolder, const std::string& commandLinePath) {
  if (!commandLinePath.empty()) return FolderOfPath(commandLinePath);
  return !startFolder.empty() && FolderExists(startFolder) ? startFolder : HomeFolder();
}

CivilDate Today() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return CivilDate{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

void SessionAlbumDriver::moveToFolder(const std::string& folder) {
  // The batch never loads the folder's own settings; discovery only sets
  // the load button, as a folder change by hand does.
  EnterFolder(m_session, folder, m_window);
}

const std::vector<PictureEntry>& SessionAlbumDriver::listPictures() {
  FolderPictureList list = FolderPictures(m_session.main.currentFolder);
  ReportPassedOverNames(m_host, m_session.main.currentFolder, list.skippedNames);
  m_session.pictures = std::move(list.pictures);
  return m_session.pictures;
}

void SessionAlbumDriver::deselect(const std::string& name) {
  for (auto& p : m_session.pictures) {
    if (p.name == name) p.selected = false;
  }
}

RunOutcome SessionAlbumDriver::runAlbum() { return RunAlbumInSession(m_session, m_host, m_today); }

RunOutcome RunAlbumInSession(Session& session, AlbumRunHost& host, CivilDate today) {
  AlbumRunState state{session.settings, session.main, session.pictures, host, session.perRow, today, {}, {}, {}, true};
  AlbumRunExtras extras;
  return AlbumRun(state, extras);
}

}  // namespace pictavo
