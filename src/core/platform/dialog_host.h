#pragma once
// The dialogs every part of the program may need from its window: a message,
// a Yes/No question and a detail note. The long commands' hosts and the
// settings window share this one base, so a window implements each once.

#include <string>

#include "platform/message.h"

namespace pictavo {

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // A modal message; "\r" in its rendering is a line break.
  virtual void showMessage(const Message& message) = 0;
  // A Yes/No question with the given caption; true for Yes.
  virtual bool askYesNo(const Message& question, const Message& caption) = 0;
  // The system's reason behind the message that follows or preceded it (a
  // file and strerror, a libjpeg text); a window may leave it out.
  virtual void note(const Message& detail) { (void)detail; }
};

}  // namespace pictavo
