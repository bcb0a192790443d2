#pragma once
// The command line as host of the long commands: messages on stderr,
// questions answered by a flag, a progress line on a terminal, Ctrl-C as Abort.

#include <iosfwd>
#include <string>

#include <optional>
#include <utility>
#include <vector>

#include "album/album_run.h"
#include "settings/settings_file.h"

namespace pictavo::cli {

// Also the settings commands' window: the per-row control, Button9 and the
// file dialogs, whose answers come from the command line.
class CliHost : public AlbumRunHost, public SettingsWindow {
 public:
  // yes: the answer to every question; progress: show the status line.
  CliHost(std::ostream& err, bool yes, bool progress);
  ~CliHost() override;

  void showMessage(const Message& message) override;
  bool askYesNo(const Message& question, const Message& caption) override;
  void setStatus(StatusPanel panel, const Message& text) override;
  void note(const Message& detail) override;
  void namesPassedOver(const std::string& folder, size_t count) override;
  bool processEvents() override;

  // The per-row control UpDown1: like the control, it keeps 1 to 10.
  void setPicturesPerRow(int16_t count) override;
  void setLoadButtonEnabled(bool enabled) override { m_button9 = enabled; }
  std::optional<std::string> chooseOpenFile(const Message&, const std::string&) override { return m_openFile; }
  std::optional<std::string> chooseSaveFile(const Message&, const std::string&) override { return m_saveFile; }

  // A line of its own on stderr, clear of the progress line.
  void printLine(const std::string& text);
  // Answers for questions whose caption or text contains `key` (first match wins).
  void setAnswer(const std::string& key, bool answer);
  void setAnswer(const Message& question, bool answer);
  // What the open and save dialogs return (nullopt: cancelled).
  void setOpenFile(std::optional<std::string> path) { m_openFile = std::move(path); }
  void setSaveFile(std::optional<std::string> path) { m_saveFile = std::move(path); }
  int perRow() const { return m_perRow; }
  bool loadButtonEnabled() const { return m_button9; }
  const std::string& status(StatusPanel panel) const { return m_status[static_cast<int>(panel)]; }
  int messages() const { return m_messages; }

 private:
  void drawProgress();
  void clearProgress();

  std::ostream& m_err;
  bool m_yes;
  bool m_progress;
  std::string m_status[3];
  bool m_lineShown = false;
  int m_messages = 0;
  std::vector<std::pair<std::string, bool>> m_answers;
  int m_perRow = 5;
  bool m_button9 = false;
  std::optional<std::string> m_openFile;
  std::optional<std::string> m_saveFile;
};

// Ctrl-C sets the abort flag for the running command; a second Ctrl-C ends
// the program at once.
// The exit status of a run that Ctrl-C stopped (the shell's for SIGINT), so a
// script can tell it from a finished one.
inline constexpr int kExitInterrupted = 130;

void InstallInterruptHandler();
bool InterruptRequested();
void ResetInterrupt();

// "\r" line breaks of a message text as terminal lines.
std::string MessageForTerminal(const std::string& text);

// The terminal's warning of names in `folder` that are not valid UTF-8 and
// were left out of a listing (the one wording the command line uses).
std::string PassedOverText(const std::string& folder, size_t count);

}  // namespace pictavo::cli
