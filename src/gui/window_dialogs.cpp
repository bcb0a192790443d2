#include "window_dialogs.h"

#include <QWidget>
#include <utility>

#include "qt_convert.h"

namespace pictavo::gui {

namespace {
QString Lines(const std::string& text) {
  QString t = Q(text);
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}
}  // namespace

void WindowDialogs::showMessage(const std::string& text) {
  QString t = Lines(text);
  if (!m_pendingNote.empty()) t += QStringLiteral("\n\n") + Q(std::exchange(m_pendingNote, {}));
  m_dialogs.message(m_window, t);
}

bool WindowDialogs::askYesNo(const std::string& text, const std::string& caption) {
  return m_dialogs.question(m_window, Lines(text), Q(caption));
}

void WindowDialogs::note(const std::string& detail) {
  qWarning("%s", detail.c_str());
  m_pendingNote = detail;
}

void WindowDialogs::showPendingNote() {
  if (!m_pendingNote.empty()) m_dialogs.message(m_window, Q(std::exchange(m_pendingNote, {})));
}

void WindowDialogs::openWithProgram(const std::string& program, const std::string& document,
                                    const std::string& folder) {
  m_dialogs.startProgram(Q(program), Q(document), Q(folder));
}

void WindowDialogs::openWithAssociatedProgram(const std::string& path) { m_dialogs.openDocument(Q(path)); }

void ShowModal(QWidget* window) {
  window->setWindowModality(Qt::ApplicationModal);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace pictavo::gui
