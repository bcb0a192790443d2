// pictavo-cli album FOLDER: the album run over a folder of JPEG pictures.

#include <unistd.h>

#include <iostream>

#include "album/album_page.h"
#include "album/album_run.h"
#include "cli_host.h"
#include "commands.h"
#include "platform/paths.h"
#include "text/chars.h"

namespace pictavo::cli {

namespace {

struct AlbumOptions {
  std::string folder;
  std::string title;
  bool titleGiven = false;
  int perRow = 0;
  bool comments = false;
  int32_t commentColor = 0;
  std::string pictures;
  bool yes = false;
  bool quiet = false;
  bool folderSettings = false;
  bool open = false;
  SettingsOptions settings;
};

int RunAlbum(AlbumOptions& o, Io& io) {
  const std::string folder = AbsolutePath(o.folder);
  if (!FolderExists(folder)) {
    io.err << "pictavo-cli: no such folder: " << o.folder << '\n';
    return 2;
  }
  CliHost host(io.err, o.yes, !o.quiet && ::isatty(STDERR_FILENO) && &io.err == &std::cerr);
  host.setAnswer(msg::kBrowserQuestion, o.open);

  Session session;
  AlbumSettings& settings = session.settings;
  MainValues& main = session.main;
  if (const int status = o.settings.startUp(session, host, io.err)) return status;
  SessionWindow window(session, host);
  const bool found = EnterFolder(session, folder, window);
  if (o.folderSettings) {
    if (!found) {
      host.note(Detail("no settings file for this folder; the settings stay as they are"));
    } else {
      const SettingsLoadResult loaded = LoadFolderSettings(settings, main, window);
      if (loaded == SettingsLoadResult::NotSettingsFile) {
        host.note(Detail(main.folderSettingsPath + ": not a settings file; nothing was loaded"));
      } else if (loaded != SettingsLoadResult::Loaded) {
        return 1;
      }
    }
  }
  if (const int status = o.settings.applyAfterStart(session, host, io.err)) return status;
  if (o.titleGiven) main.albumTitle = o.title;
  main.addComments = o.comments;
  main.commentColor = o.commentColor;
  if (o.perRow > 0) session.perRow = o.perRow;
  session.pictures = PictureSelection(folder, o.pictures, io.err);

  const RunOutcome outcome = RunAlbumInSession(session, host, Today());
  if (outcome == RunOutcome::Failed) return 1;
  if (!o.quiet) io.out << FolderBase(folder) + settings.htmlFileName << '\n';
  return outcome == RunOutcome::Aborted ? kExitInterrupted : 0;
}

}  // namespace

std::vector<PictureEntry> ListFolderPictures(const std::string& folder, const std::string& extension,
                                             std::ostream& err) {
  FolderPictureList list = FolderPictures(folder, extension);
  if (list.skippedNames > 0) err << PassedOverText(folder, list.skippedNames) << '\n';
  return std::move(list.pictures);
}

std::vector<PictureEntry> PictureSelection(const std::string& folder, const std::string& names, std::ostream& err) {
  if (names.empty()) return ListFolderPictures(folder, ".jpg", err);
  std::vector<PictureEntry> list;
  for (const auto& name : SplitList(names)) list.push_back({name, true});
  return list;
}

void AddAlbumCommand(CLI::App& app, Io& io, int& exitCode) {
  auto o = std::make_shared<AlbumOptions>();
  CLI::App* cmd = app.add_subcommand("album", "Make the catalogue page, thumbnails and slide show of a folder");
  cmd->add_option("FOLDER", o->folder, "Folder of JPEG pictures")->required();
  cmd->add_option("--title", o->title, "Album title (default: the folder's name)")
      ->each([o](const std::string&) { o->titleGiven = true; });
  cmd->add_option("--per-row", o->perRow, "Thumbnails per row, 1 to 10 (default: picturesPerRow from the settings)")
      ->check(CLI::Range(kMinPicturesPerRow, kMaxPicturesPerRow));
  cmd->add_flag("--comments", o->comments, "Put the comments of PicComment.txt under the thumbnails");
  cmd->add_option("--comment-color", o->commentColor, "Comment colour as red + green*256 + blue*65536");
  cmd->add_option("--pictures", o->pictures, "Selected pictures in order, comma-separated (default: every .jpg)")
      ->type_name("NAME,...");
  o->settings.add(*cmd);
  cmd->add_flag("--folder-settings", o->folderSettings,
                "Load the folder's own settings file (inifile/<folder>.ini or an .ini in the folder) without asking");
  cmd->add_flag("--open", o->open, "Answer Yes to the browser question at the end (default: No)");
  cmd->add_flag("--yes", o->yes, "Answer Yes to every other question");
  cmd->add_flag("--quiet", o->quiet, "No progress line and no page path on stdout");
  cmd->callback([o, &io, &exitCode] { exitCode = RunAlbum(*o, io); });
}

}  // namespace pictavo::cli
