// The main window's way into the program's other windows: the tool windows,
// the options dialog, the settings check view and the help page. Each opens
// its window (made once, kept for the session) and hands it what it needs.

#include <QCoreApplication>
#include <QFileInfo>

#include "main_window.h"
#include "platform/paths.h"

namespace pictavo::gui {
namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

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
