#pragma once
// The dialog side of a window that hosts core commands: messages with the
// core's "\r" line breaks, Yes/No questions, and the detail note that goes
// under the next message.

#include <QString>
#include <string>

#include "dialogs.h"

namespace pictavo::gui {

class MessageRelay {
 public:
  MessageRelay(Dialogs& dialogs, QWidget* window) : m_dialogs(dialogs), m_window(window) {}
  void showMessage(const std::string& text);
  bool askYesNo(const std::string& text, const std::string& caption);
  // On stderr now, and under the next message's text.
  void note(const std::string& detail);

 private:
  Dialogs& m_dialogs;
  QWidget* m_window;
  std::string m_pendingNote;
};

}  // namespace pictavo::gui
