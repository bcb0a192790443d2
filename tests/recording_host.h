#pragma once
// A CommandHost for tests: records messages, questions and status texts and
// answers every question with a set answer.

#include <string>
#include <vector>

#include "platform/command_host.h"

namespace pictavo {

class RecordingHost : public CommandHost {
 public:
  void showMessage(const std::string& text) override { messages.push_back(text); }
  bool askYesNo(const std::string& text, const std::string& caption) override {
    questions.push_back(text);
    captions.push_back(caption);
    return answer;
  }
  void setStatus(int panel, const std::string& text) override { status[panel] = text; }
  void note(const std::string& detail) override { notes.push_back(detail); }
  bool processEvents() override { return false; }

  bool answer = true;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> captions;
  std::vector<std::string> notes;
  std::string status[4];
};

}  // namespace pictavo
