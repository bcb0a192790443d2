#pragma once
// Fixtures of the table-of-contents and batch tests: album page heads, and a
// host that records what a window would show and answers from a preset.

#include <sys/stat.h>

#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "fixtures.h"
#include "test_util.h"
#include "message_testing.h"

namespace pictavo {

// A catalogue page head as the album run writes it, in folder/pageName.
inline void WriteAlbumPage(const std::string& folder, const std::string& title, const std::string& count,
                           const std::string& first, const std::string& marker = "<!-- Pictavo Version 2.02 -->",
                           const std::string& pageName = "index.htm") {
  ::mkdir(folder.c_str(), 0777);
  WriteCp932Lines(folder + "/" + pageName,
                  {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">", marker,
                   "<!-- FILE=" + count + " " + first + " -->", "<!--  2026.12.8 -->", "<HTML>",
                   "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
                   "<TITLE>" + title + "</TITLE>", "</HEAD>"});
}

// An album page with a thumbnail of the given size for its first picture.
inline void WriteAlbumWithThumbnail(const std::string& folder, const std::string& title, int width, int height) {
  WriteAlbumPage(folder, title, "001", "p.jpg");
  ::mkdir((folder + "/htm_image").c_str(), 0777);
  MakeJpeg(folder + "/htm_image/p.jpg", width, height);
}

class TocRecordingHost : public BatchHost {
 public:
  void showMessage(const Message& message_) override {
    const std::string text = RenderMessage(message_); messages.push_back(text); }
  bool askYesNo(const Message& question_, const Message& caption_) override {
    const std::string text = RenderMessage(question_), caption = RenderMessage(caption_);
    questions.push_back(caption + ": " + text);
    return answer;
  }
  void setStatus(StatusPanel panel, const Message& status_) override {
    const std::string text = RenderMessage(status_); status[static_cast<int>(panel)] = text; }
  void note(const Message& note_) override {
    const std::string detail = RenderMessage(note_); notes.push_back(detail); }
  bool processEvents() override { return ++eventRounds == abortAtRound; }
  void openWithProgram(const std::string& program, const std::string& document, const std::string& folder) override {
    opened.push_back(program + " " + document + " in " + folder);
  }
  void openWithAssociatedProgram(const std::string& path) override { opened.push_back("associated " + path); }
  void showTocProgress(const std::string& text) override { tocProgress.push_back(text); }
  void beginBatch() override { events.push_back("begin"); }
  void showBatchFolder(const std::string& name) override { events.push_back("folder " + name); }
  void showBatchProgress(const std::string& text) override { events.push_back(text); }
  void stepBatchProgress() override { events.push_back("step"); }
  void beforeTableOfContents() override { events.push_back("toc"); }
  void endBatch() override { events.push_back("end"); }

  bool answer = false;
  int abortAtRound = -1;  // processEvents() reports Abort on this call (1-based)
  int eventRounds = 0;
  std::vector<std::string> messages, questions, notes, opened, tocProgress, events;
  std::string status[4];
};

}  // namespace pictavo
