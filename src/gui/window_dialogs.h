#pragma once
// A tool window's side of the core's hosts: messages and questions owned by
// the window (with "\r" as a line break and the system's reason under the
// next message) and the desktop's openers.

#include <QString>
#include <string>

#include "dialogs.h"
#include "message_text.h"
#include "platform/command_host.h"

class QWidget;

namespace pictavo::gui {

class WindowDialogs {
 public:
  WindowDialogs(Dialogs& dialogs, QWidget* window) : m_dialogs(dialogs), m_window(window) {}
  void showMessage(const std::string& text);
  void showMessage(const Message& message) { showMessage(MessageText(message).toStdString()); }
  bool askYesNo(const std::string& text, const std::string& caption);
  bool askYesNo(const Message& question, const Message& caption) {
    return askYesNo(MessageText(question).toStdString(), MessageText(caption).toStdString());
  }
  // On stderr, and under the next message box's text.
  void note(const std::string& detail);
  // A note no message took, shown on its own (when its command ends).
  void showPendingNote();
  void note(const Message& detail) { note(MessageText(detail).toStdString()); }
  void openWithProgram(const std::string& program, const std::string& document, const std::string& folder);
  void openWithAssociatedProgram(const std::string& path);
  Dialogs& dialogs() { return m_dialogs; }

 private:
  Dialogs& m_dialogs;
  QWidget* m_window;
  std::string m_pendingNote;
};

// The windows' warning of names in `folder` that are not valid UTF-8 and were
// left out of a listing.
inline Message PassedOverMessage(const std::string& folder, size_t count) {
  return {MessageId::NamesPassedOver, {folder, std::to_string(count)}};
}

// The dialogs and openers of a core host (TocHost, BatchHost, CommandHost)
// answered through the window's dialogs.
template <typename Host>
class WindowHost : public Host {
 public:
  void showMessage(const Message& message) override { m_ui.showMessage(message); }
  bool askYesNo(const Message& question, const Message& caption) override { return m_ui.askYesNo(question, caption); }
  void note(const Message& detail) override { m_ui.note(detail); }
  void openWithProgram(const std::string& program, const std::string& document, const std::string& folder) override {
    m_ui.openWithProgram(program, document, folder);
  }
  void openWithAssociatedProgram(const std::string& path) override { m_ui.openWithAssociatedProgram(path); }
  void namesPassedOver(const std::string& folder, size_t count) override { m_ui.note(PassedOverMessage(folder, count)); }

 protected:
  WindowHost(Dialogs& dialogs, QWidget* window) : m_ui(dialogs, window) {}
  WindowDialogs m_ui;
};

// A tool window as the host of its core command: dialogs and openers through
// the window's dialogs, no event pump (its commands are short); the status
// bar is the window's.
class ToolWindowHost : public WindowHost<CommandHost> {
 public:
  bool processEvents() override { return false; }

 protected:
  ToolWindowHost(Dialogs& dialogs, QWidget* window) : WindowHost<CommandHost>(dialogs, window) {}
};

// Shows a tool window application-modal and returns at once: no nested
// event loop, so a command may hide and show it again.
void ShowModal(QWidget* window);

}  // namespace pictavo::gui
