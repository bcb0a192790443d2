#pragma once
// How a long command (album run, table of contents, batch, rotation,
// conversion) talks to its surroundings: the windows implement this, and so
// does the command line. The core never shows anything itself.

#include <cstddef>
#include <string>

#include "platform/dialog_host.h"

namespace pictavo {

// The three panels of the main window's status bar.
enum class StatusPanel {
  Step = 0,     // the file or step in hand
  Phase = 1,    // the phase of the run
  Counter = 2,  // "0012/0150   "
};

class CommandHost : public virtual DialogHost {
 public:
  // One panel of the status bar.
  virtual void setStatus(StatusPanel panel, const Message& text) = 0;
  // Lets pending events run once; true when Abort has been pressed.
  virtual bool processEvents() = 0;
  // Lets pending events run while a command waits for its workers (a window
  // repaints and records an Abort click); the command asks processEvents()
  // at its next step. Nothing by default: a terminal has no events.
  virtual void letEventsRun() {}
  // Starts `program` detached with `document` as its one argument in `folder`.
  virtual void openWithProgram(const std::string& program, const std::string& document, const std::string& folder);
  // Opens `path` with the desktop's associated program.
  virtual void openWithAssociatedProgram(const std::string& path);
  // `count` names in `folder` are not valid UTF-8 and were left out of a
  // listing: they cannot be shown or passed on. The front end words the
  // warning; nothing by default.
  virtual void namesPassedOver(const std::string& folder, size_t count) { (void)folder, (void)count; }
};

// Where core reports the names a listing passed over: only when there are
// some. Every listing whose left-out names the user should hear of goes
// through here.
inline void ReportPassedOverNames(CommandHost& host, const std::string& folder, size_t count) {
  if (count > 0) host.namesPassedOver(folder, count);
}

}  // namespace pictavo
