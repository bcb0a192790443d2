#pragma once
// What the desktop starts for a page or a picture, decided in one place: the
// program the settings name (browserPath, externalViewerPath), else the
// program the desktop associates with the file. Every window and command that
// opens a page or a picture asks here, so they never start different things.

#include <string>

#include "platform/command_host.h"
#include "settings/album_settings.h"

namespace pictavo {

// `program` started on `document` in `folder`; with no program, the
// associated program opens `document` (then a full path).
struct Opening {
  std::string program;
  std::string document;
  std::string folder;
};

// The page htmlFileName in `folder` (a folder base, ending in "/"): the
// browser with the page's path, started in the folder.
Opening PageOpening(const AlbumSettings& s, const std::string& folder);
// The picture `name` in `folder`: a ".jpg" in any letter case goes to the
// external viewer by its bare name, started in the folder; anything else, or
// no viewer, to the associated program by its path.
Opening PictureOpening(const AlbumSettings& s, const std::string& folder, const std::string& name);
// Starts what `opening` says through the host.
void Open(CommandHost& host, const Opening& opening);

}  // namespace pictavo
