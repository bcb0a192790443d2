// The main window's way into the program's other windows: the tool windows,
// the options dialog, the settings check view and the help page. Each opens
// its window (made once, kept for the session) and hands it what it needs.

#include <QCoreApplication>
#include <QFileInfo>
#include <QListWidget>

#include "bmp_window.h"
#include "comment_window.h"
#include "main_window.h"
#include "options_window.h"
#include "platform/paths.h"
#include "qt_convert.h"
#include "rotation_window.h"
#include "settings_view_window.h"
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
  if (m_busy) return;
  bmpWindow()->openAt(Q(m_session.main.currentFolder));
}

Tcomment* TMain::commentWindow() {
  if (!m_comment) {
    m_comment = new Tcomment(
        m_dialogs, [this] { return rotationWindow(); }, this);
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
  if (m_busy) return;
  // Made once and kept: between showings it holds the user's unconfirmed edits.
  if (!m_options) {
    m_options = new OptionsDialog(*this, m_dialogs);
    // A confirmed quality reaches the rotation window when it exists.
    connect(m_options, &OptionsDialog::confirmed, this, [this] {
      if (m_rotation) m_rotation->setQuality(static_cast<int>(m_session.settings.rotationQuality));
    });
  }
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
  if (!m_setview) m_setview = new SettingsCheckView(*this);
  m_setview->fill();
  m_setview->setWindowModality(Qt::ApplicationModal);
  m_setview->show();
  m_setview->raise();
  m_setview->activateWindow();
}

// The help page: one the user put in the program folder, else the one
// installed beside the program, else the source tree's (a build run in place).
void TMain::openHelp() {
  const QStringList candidates{
      Q(FolderBase(m_session.main.programFolder)) + QStringLiteral("help/index.html"),
      QCoreApplication::applicationDirPath() + QStringLiteral("/../share/pictavo/help/index.html"),
      QStringLiteral(PICTAVO_SOURCE_HELP)};
  for (const QString& page : candidates) {
    if (QFileInfo(page).isFile()) {
      m_dialogs.openDocument(QFileInfo(page).absoluteFilePath());
      return;
    }
  }
  m_dialogs.message(this, QString::fromUtf8(msg::kNoHelpPage));
}

}  // namespace pictavo::gui
