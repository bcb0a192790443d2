#include "toc_support.h"

#include <ostream>

#include "platform/paths.h"
#include "toc/discovery.h"

namespace pictavo::cli {

void TocCliOptions::add(CLI::App& cmd) {
  cmd.add_option("FOLDER", folder, "Folder whose sub-folders hold the albums")->required();
  cmd.add_option("--title", title, "Title of the table of contents (default: the folder's name)")
      ->each([this](const std::string&) { titleGiven = true; });
  cmd.add_flag("--frames", frames, "Two frames: the album list on the left, the chosen album on the right");
  cmd.add_option("--frame-title-size", frameTitleSize, "Title size in the frame list, 1 to 7 (default 3)")
      ->check(CLI::Range(1, 7));
  cmd.add_flag("--pictures", pictures, "Show each album's first thumbnail");
  cmd.add_option("--bg-color", bgColor, "Background colour as red + green*256 + blue*65536 (default grey)");
  cmd.add_option("--bg-picture", bgPicture, "Background picture (.jpg or .gif) to copy into the folder");
  settings.add(cmd);
  cmd.add_flag("--open", open, "Open the page in the browser at the end");
  cmd.add_flag("--quiet", quiet, "No progress line and no page path on stdout");
}

int TocCliOptions::start(AlbumSettings& s, MainValues& main, SettingsLines& lines, CliHost& host, TocOptions& o,
                         std::ostream& err) const {
  const std::string path = AbsolutePath(folder);
  if (!FolderExists(path)) {
    err << "pictavo-cli: no such folder: " << folder << '\n';
    return 2;
  }
  if (const int status = settings.start(s, main, lines, host, err)) return status;
  o.tocFolder = path;
  o.tocTitle = titleGiven ? title : FolderTitle(path);
  o.useFrames = frames;
  o.frameTitleSize = frameTitleSize;
  o.showPictures = pictures;
  o.tocBackgroundColor = bgColor;
  o.useBackgroundPicture = !bgPicture.empty();
  o.backgroundPicturePath = bgPicture.empty() ? "" : AbsolutePath(bgPicture);
  return 0;
}

CliAlbumDriver::CliAlbumDriver(AlbumSettings& settings, MainValues& main, CliHost& host, int perRow, CivilDate today,
                               std::ostream& err, ExtrasFactory makeExtras)
    : m_settings(settings),
      m_main(main),
      m_host(host),
      m_perRow(perRow),
      m_today(today),
      m_err(err),
      m_makeExtras(std::move(makeExtras)) {}

void CliAlbumDriver::moveToFolder(const std::string& folder) {
  // As the folder list does: the title, then the look for the folder's own
  // settings file (which only enables the load button; a batch never loads it).
  m_main.currentFolder = folder;
  m_main.albumTitle = LastComponent(folder);
  DiscoverFolderSettings(m_main, m_host);
}

const std::vector<PictureEntry>& CliAlbumDriver::listPictures() {
  m_pictures = FolderPictures(m_main.currentFolder, m_err);
  return m_pictures;
}

void CliAlbumDriver::deselect(const std::string& name) {
  for (auto& p : m_pictures) {
    if (p.name == name) p.selected = false;
  }
}

RunOutcome CliAlbumDriver::runAlbum() {
  AlbumRunState state{m_settings, m_main, m_pictures, m_host, m_perRow, m_today, {}, {}, {}, true};
  const std::unique_ptr<RunExtras> extras = m_makeExtras();
  return AlbumRun(state, *extras);
}

}  // namespace pictavo::cli
