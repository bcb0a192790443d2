#pragma once
// What the tool windows ask of the main window: the batch moves it through
// the folders and runs its Execute as a user would; the windows are placed
// beside it and owned by it.

#include <QString>
#include <string>

#include "album/album_run.h"

class QWidget;

namespace pictavo::gui {

class AlbumWindow {
 public:
  // The window itself: the tool windows' parent, and where they are placed.
  virtual QWidget* widget() = 0;
  // The folder list goes to `path`; false while a command runs.
  virtual bool goToPath(const QString& path) = 0;
  virtual void deselectPicture(const std::string& name) = 0;
  // Execute to its end.
  virtual RunOutcome runAlbum() = 0;
  // The preview switch NoPicButton, pressed.
  virtual void setPreviewSwitch(bool on) = 0;

 protected:
  ~AlbumWindow() = default;
};

}  // namespace pictavo::gui
