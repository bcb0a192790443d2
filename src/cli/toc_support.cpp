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
      ->check(CLI::Range(kMinFrameTitleSize, kMaxFrameTitleSize));
  cmd.add_flag("--pictures", pictures, "Show each album's first thumbnail");
  cmd.add_option("--bg-color", bgColor, "Background colour as red + green*256 + blue*65536 (default grey)");
  cmd.add_option("--bg-picture", bgPicture, "Background picture (.jpg or .gif) to copy into the folder");
  settings.add(cmd);
  cmd.add_flag("--open", open, "Open the page in the browser at the end");
  cmd.add_flag("--quiet", quiet, "No progress line and no page path on stdout");
}

int TocCliOptions::start(Session& session, CliHost& host, TocOptions& o, std::ostream& err) const {
  const std::string path = AbsolutePath(folder);
  if (!FolderExists(path)) {
    err << "pictavo-cli: no such folder: " << folder << '\n';
    return 2;
  }
  if (const int status = settings.start(session, host, err)) return status;
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

}  // namespace pictavo::cli
