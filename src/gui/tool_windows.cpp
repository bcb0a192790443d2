// The main window's way into the program's other windows: the tool windows,
// the options dialog, the settings check view and the help page. Each opens
// its window (made once, kept for the session) and hands it what it needs.

#include "main_window.h"
#include "options_window.h"
#include "settings_view_window.h"

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
  if (m_busy) return;
  // Made once and kept: between showings it holds the user's unconfirmed edits.
  if (!m_options) m_options = new TOption(*this, m_dialogs);
  m_options->setWindowModality(Qt::ApplicationModal);
  m_options->show();
  m_options->raise();
  m_options->activateWindow();
}

void TMain::refillOptions() {
  // After a settings file was loaded: the dialog shows the new record.
  if (!m_options) return;
  m_options->mainini();
  m_options->showFirstPage();
}

void TMain::openSettingsView() {
  if (m_busy) return;
  if (!m_setview) m_setview = new Tsetview(*this);
  m_setview->fill();
  m_setview->setWindowModality(Qt::ApplicationModal);
  m_setview->show();
  m_setview->raise();
  m_setview->activateWindow();
}

void TMain::openHelp() {
  // The help page the program ships.
}

}  // namespace pictavo::gui
