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
#include "translations.h"

namespace pictavo::gui {

TableOfContentsWindow* MainWindow::tocWindow() {
  if (!m_tocWindow) m_tocWindow = new TableOfContentsWindow(m_session, *this, m_dialogs);
  return m_tocWindow;
}

BmpConversionWindow* MainWindow::bmpWindow() {
  if (!m_bmpWindow) m_bmpWindow = new BmpConversionWindow(m_session, m_dialogs, this);
  return m_bmpWindow;
}

void MainWindow::openTableOfContents() {
  if (m_busy) return;
  tocWindow()->openAt(Q(m_session.main.currentFolder));
}

RotationWindow* MainWindow::rotationWindow() {
  if (!m_rotation) {
    m_rotation = new RotationWindow(m_dialogs, m_session.settings, this);
    m_rotation->move(pos() + QPoint(100, 80));
  }
  return m_rotation;
}

void MainWindow::openRotation() {
  // The list must stay as it is while the walk refers to it.
  if (m_busy) return;
  takeSelectionFromList();
  RotationWindow* window = rotationWindow();
  const bool open = window->openList(m_session.main.currentFolder, m_session.pictures);
  redrawPictureList();  // selected entries that are not ".jpg" show deselected
  if (open) window->exec();
}

void MainWindow::openBmpConversion() {
  if (m_busy) return;
  bmpWindow()->openAt(Q(m_session.main.currentFolder));
}

CommentEditorWindow* MainWindow::commentWindow() {
  if (!m_comment) {
    m_comment = new CommentEditorWindow(
        m_dialogs, [this] { return rotationWindow(); }, this);
    m_comment->move(pos() + QPoint(80, 80));
  }
  return m_comment;
}

void MainWindow::openCommentEditor() {
  // Also opened when a run ends on a missing comment file.
  CommentEditorWindow* window = commentWindow();
  window->openFolder(m_session.main.currentFolder);
  window->exec();
}

void MainWindow::openOptions() {
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

void MainWindow::refillOptions() {
  // After a settings file was loaded: the dialog shows the new record.
  if (!m_options) return;
  m_options->mainini();
  m_options->showFirstPage();
}

void MainWindow::openSettingsView() {
  if (m_busy) return;
  if (!m_setview) m_setview = new SettingsCheckView(m_session, this, m_startPosition);
  m_setview->fill();
  m_setview->setWindowModality(Qt::ApplicationModal);
  m_setview->show();
  m_setview->raise();
  m_setview->activateWindow();
}

// The help page: one the user put in the program folder, else the one
// installed beside the program, else the source tree's (a build run in place).
void MainWindow::openHelp() {
  const QStringList folders{Q(FolderBase(m_session.main.programFolder)) + QStringLiteral("help/"),
                            QCoreApplication::applicationDirPath() + QStringLiteral("/../share/pictavo/help/"),
                            QStringLiteral(PICTAVO_SOURCE_HELP_FOLDER)};
  // In each place the page of the interface's language first, then the Japanese one.
  QStringList names{QStringLiteral("index.html")};
  if (CurrentInterfaceLanguage() == InterfaceLanguage::English) names.prepend(QStringLiteral("index.en.html"));
  QStringList candidates;
  for (const QString& folder : folders) {
    for (const QString& name : names) candidates << folder + name;
  }
  for (const QString& page : candidates) {
    if (QFileInfo(page).isFile()) {
      m_dialogs.openDocument(QFileInfo(page).absoluteFilePath());
      return;
    }
  }
  m_dialogs.message(this, tr(msg::kNoHelpPage));
}

}  // namespace pictavo::gui
