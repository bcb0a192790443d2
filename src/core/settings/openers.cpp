#include "settings/openers.h"

#include "platform/paths.h"
#include "text/chars.h"

namespace pictavo {

Opening PageOpening(const AlbumSettings& s, const std::string& folder) {
  const std::string page = folder + s.htmlFileName;
  if (s.browserPath.empty()) return {{}, page, {}};
  return {s.browserPath, page, folder};
}

Opening PictureOpening(const AlbumSettings& s, const std::string& folder, const std::string& name) {
  if (LowerAscii(Extension(name)) == ".jpg" && !s.externalViewerPath.empty()) return {s.externalViewerPath, name, folder};
  return {{}, folder + name, {}};
}

void Open(CommandHost& host, const Opening& opening) {
  if (opening.program.empty()) {
    host.openWithAssociatedProgram(opening.document);
  } else {
    host.openWithProgram(opening.program, opening.document, opening.folder);
  }
}

}  // namespace pictavo
