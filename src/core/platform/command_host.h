#pragma once
// How a long command (album run, table of contents, batch, rotation,
// conversion) talks to its surroundings: the windows implement this, and so
// does the command line. The core never shows anything itself.

#include <string>

namespace pictavo {

class CommandHost {
 public:
  virtual ~CommandHost() = default;
  // A modal message; "\r" in the text is a line break.
  virtual void showMessage(const std::string& text) = 0;
  // A Yes/No question with the given caption; true for Yes.
  virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
  // Status-bar panel `panel` (0 file or step, 1 phase, 2 counter).
  virtual void setStatus(int panel, const std::string& text) = 0;
  // The system's reason behind the message that follows or preceded it (a
  // file and strerror, a libjpeg text); a window may leave it out.
  virtual void note(const std::string& detail) { (void)detail; }
  // Lets pending events run once; true when Abort has been pressed.
  virtual bool processEvents() = 0;
  // Starts `program` detached with `document` as its one argument in `folder`.
  virtual void openWithProgram(const std::string& program, const std::string& document, const std::string& folder);
  // Opens `path` with the desktop's associated program.
  virtual void openWithAssociatedProgram(const std::string& path);
};

}  // namespace pictavo
