#pragma once
// A tool window's side of the core's hosts: messages and questions owned by
// the window (with "\r" as a line break and the system's reason under the
// next message) and the desktop's openers.

#include <QString>
#include <string>

#include "dialogs.h"

class QWidget;

namespace pictavo::gui {

class WindowDialogs {
 public:
  WindowDialogs(Dialogs& dialogs, QWidget* window) : m_dialogs(dialogs), m_window(window) {}
  void showMessage(const std::string& text);
  bool askYesNo(const std::string& text, const std::string& caption);
  // On stderr, and under the next message box's text.
  void note(const std::string& detail);
  void openWithProgram(const std::string& program, const std::string& document, const std::string& folder);
  void openWithAssociatedProgram(const std::string& path);
  Dialogs& dialogs() { return m_dialogs; }

 private:
  Dialogs& m_dialogs;
  QWidget* m_window;
  std::string m_pendingNote;
};

}  // namespace pictavo::gui
