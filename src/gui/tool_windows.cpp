// The main window's way into the program's other windows: the tool windows,
// the options dialog, the settings check view and the help page. Each opens
// its window (made once, kept for the session) and hands it what it needs.

#include "main_window.h"

#include "bmp_window.h"
#include "qt_convert.h"
#include "toc_window.h"

namespace pictavo::gui {

Tmokuji* TMain::tocWindow() {
  if (!m_tocWindow) m_tocWindow = new Tmokuji(*this, m_dialogs);
  return m_tocWindow;
}

TBMPtoJPEG* TMain::bmpWindow() {
  if (!m_bmpWindow) m_bmpWindow = new TBMPtoJPEG(*this, m_dialogs);
  return m_bmpWindow;
}

void TMain::openTableOfContents() {
  if (m_busy) return;
  tocWindow()->openAt(Q(m_session.main.currentFolder));
}

void TMain::openRotation() {
  // The rotation window over the picture list's selection.
}

void TMain::openBmpConversion() {
  if (m_busy) return;
  bmpWindow()->openAt(Q(m_session.main.currentFolder));
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
