#pragma once
// The command line as host of the long commands: messages on stderr,
// questions answered by a flag, a progress line on a terminal, Ctrl-C as Abort.

#include <iosfwd>
#include <string>

#include "album/album_run.h"

namespace pictavo::cli {

class CliHost : public AlbumRunHost {
 public:
  // yes: the answer to every question; progress: show the status line.
  CliHost(std::ostream& err, bool yes, bool progress);
  ~CliHost() override;

  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string& text, const std::string& caption) override;
  void setStatus(int panel, const std::string& text) override;
  void note(const std::string& detail) override;
  bool processEvents() override;

  // A line of its own on stderr, clear of the progress line.
  void printLine(const std::string& text);
  // Answers for questions whose caption or text contains `key` (first match wins).
  void setAnswer(const std::string& key, bool answer);
  const std::string& status(int panel) const { return m_status[panel]; }
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
};

// Ctrl-C sets the abort flag for the running command; a second Ctrl-C ends
// the program at once.
void InstallInterruptHandler();
bool InterruptRequested();
void ResetInterrupt();

// "\r" line breaks of a message text as terminal lines.
std::string MessageForTerminal(const std::string& text);

}  // namespace pictavo::cli
