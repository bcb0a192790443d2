#pragma once
// The dialog side of a window that hosts core commands: messages with the
// core's "\r" line breaks, Yes/No questions, and the detail note that goes
// under the next message.

#include <QString>
#include <string>

#include "dialogs.h"
#include "platform/command_host.h"

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

// A tool window as the host of its core command: dialogs through the relay,
// no event pump (its commands are short); the status bar is the window's.
class ToolWindowHost : public CommandHost {
 public:
  ToolWindowHost(Dialogs& dialogs, QWidget* window) : m_relay(dialogs, window) {}
  void showMessage(const std::string& text) override { m_relay.showMessage(text); }
  bool askYesNo(const std::string& text, const std::string& caption) override {
    return m_relay.askYesNo(text, caption);
  }
  void note(const std::string& detail) override { m_relay.note(detail); }
  bool processEvents() override { return false; }

 private:
  MessageRelay m_relay;
};

}  // namespace pictavo::gui
