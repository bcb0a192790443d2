// The main window's way into the program's other windows: the tool windows,
// the options dialog, the settings check view and the help page. Each opens
// its window (made once, kept for the session) and hands it what it needs.

#include "main_window.h"

#include <QListWidget>

#include "comment_window.h"
#include "rotation_window.h"

namespace pictavo::gui {

void TMain::openTableOfContents() {
  // The table-of-contents window.
}

Toption2* TMain::rotationWindow() {
  if (!m_rotation) {
    m_rotation = new Toption2(m_dialogs, m_session.settings, this);
    m_rotation->move(pos() + QPoint(100, 80));
  }
  return m_rotation;
}

void TMain::openRotation() {
  // The list must stay as it is while the walk refers to it.
  if (m_busy) return;
  takeSelectionFromList();
  Toption2* window = rotationWindow();
  const bool open = window->openList(m_session.main.currentFolder, m_session.pictures);
  redrawPictureList();  // selected entries that are not ".jpg" show deselected
  if (open) window->exec();
}

void TMain::openBmpConversion() {
  // The BMP conversion window.
}

Tcomment* TMain::commentWindow() {
  if (!m_comment) {
    m_comment = new Tcomment(m_dialogs, [this] { return rotationWindow(); }, this);
    m_comment->move(pos() + QPoint(80, 80));
  }
  return m_comment;
}

void TMain::openCommentEditor() {
  // Also opened when a run ends on a missing comment file.
  Tcomment* window = commentWindow();
  window->openFolder(m_session.main.currentFolder);
  window->exec();
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
