#include "window_host.h"

#include <utility>

namespace pictavo::gui {
namespace {

QString WithLineBreaks(const std::string& text) {
  QString t = QString::fromStdString(text);
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

}  // namespace

void MessageRelay::showMessage(const std::string& text) {
  QString t = WithLineBreaks(text);
  if (!m_pendingNote.empty()) t += QStringLiteral("\n\n") + QString::fromStdString(std::exchange(m_pendingNote, {}));
  m_dialogs.message(m_window, t);
}

bool MessageRelay::askYesNo(const std::string& text, const std::string& caption) {
  return m_dialogs.question(m_window, WithLineBreaks(text), QString::fromStdString(caption));
}

void MessageRelay::note(const std::string& detail) {
  qWarning("%s", detail.c_str());
  m_pendingNote = detail;
}

}  // namespace pictavo::gui
