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
  SettingsOptions settings;
};

int RunAlbum(AlbumOptions& o, Io& io) {
  AlbumSettings settings;
  ResetSettings(settings);
  if (!o.settings.apply(settings, io.err)) return 2;

  MainValues main;
  main.programFolder = DefaultProgramFolder();
  std::string folder = AbsolutePath(o.folder);
  if (!FolderExists(folder)) {
    io.err << "pictavo-cli: no such folder: " << o.folder << '\n';
    return 2;
  }
  main.currentFolder = folder;
  main.albumTitle = o.titleGiven ? o.title : LastComponent(folder);
  main.addComments = o.comments;
  main.commentColor = o.commentColor;

  int perRow = o.perRow > 0 ? o.perRow : settings.picturesPerRow;
  if (perRow < 1 || perRow > 10) {
    io.err << "pictavo-cli: thumbnails per row must be 1 to 10, not " << perRow << '\n';
    return 2;
  }

  std::vector<PictureEntry> pictures;
  if (o.pictures.empty()) {
    pictures = FolderPictures(folder, io.err);
  } else {
    for (const auto& name : SplitList(o.pictures)) pictures.push_back({name, true});
  }

  CliHost host(io.err, o.yes, !o.quiet && ::isatty(STDERR_FILENO) && &io.err == &std::cerr);
  AlbumRunState state{settings, main, pictures, host, perRow, Today(), {}, {}, {}, true};
  RunExtras extras;
  const RunOutcome outcome = AlbumRun(state, extras);
  if (outcome == RunOutcome::Failed) return 1;
  if (!o.quiet) io.out << FolderBase(folder) + settings.htmlFileName << '\n';
  return 0;
}

}  // namespace

// The picture list as a folder change fills it: the ".jpg" files (extension
// lower-cased) in name order, all selected.
std::vector<PictureEntry> FolderPictures(const std::string& folder, std::ostream& err) {
  std::vector<PictureEntry> list;
  const Listing files = ListFiles(folder);
  for (const auto& bad : files.skipped) {
    err << "pictavo-cli: passing over a file name that is not valid UTF-8 in " << folder << '\n';
    (void)bad;
  }
  for (const auto& name : files.names) {
    if (LowerAscii(Extension(name)) == ".jpg") list.push_back({name, true});
  }
  return list;
}

void AddAlbumCommand(CLI::App& app, Io& io, int& exitCode) {
  auto o = std::make_shared<AlbumOptions>();
  CLI::App* cmd = app.add_subcommand("album", "Make the catalogue page, thumbnails and slide show of a folder");
  cmd->add_option("FOLDER", o->folder, "Folder of JPEG pictures")->required();
  cmd->add_option("--title", o->title, "Album title (default: the folder's name)")
      ->each([o](const std::string&) { o->titleGiven = true; });
  cmd->add_option("--per-row", o->perRow, "Thumbnails per row, 1 to 10 (default: picturesPerRow)")
      ->check(CLI::Range(1, 10));
  cmd->add_flag("--comments", o->comments, "Put the comments of PicComment.txt under the thumbnails");
  cmd->add_option("--comment-color", o->commentColor, "Comment colour as red + green*256 + blue*65536");
  cmd->add_option("--pictures", o->pictures, "Selected pictures in order, comma-separated (default: every .jpg)")
      ->type_name("NAME,...");
  o->settings.add(*cmd);
  cmd->add_flag("--yes", o->yes, "Answer Yes to every question");
  cmd->add_flag("--quiet", o->quiet, "No progress line and no page path on stdout");
  cmd->callback([o, &io, &exitCode] { exitCode = RunAlbum(*o, io); });
}

}  // namespace pictavo::cli
