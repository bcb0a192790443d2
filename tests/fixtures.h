#pragma once
// Test pictures and a recording host for the album run.

#include <optional>
#include <string>
#include <vector>

#include "album/album_run.h"
#include "image/bitmap.h"
#include "settings/settings_file.h"
#include "message_testing.h"

namespace pictavo {

// A w x h picture with a smooth pattern (different in every pixel's
// neighbourhood) so that wrong sampling shows.
Bitmap PatternPicture(int w, int h, unsigned seed = 1);

// One scan of a progressive file: components (frame indexes), spectral
// band, successive approximation bits.
struct ScanSpec {
  std::vector<int> comps;
  int ss, se, ah, al;
};

struct JpegOptions {
  bool grey = false;
  int quality = 90;
  int orientation = 1;  // EXIF tag written when not 1
  int lumaH = 2;        // luma sampling factors; chroma is 1 x 1 (2 x 2 is 4:2:0)
  int lumaV = 2;
  bool progressive = false;
  int restartRows = 0;  // restart interval in MCU rows, 0 for none
  int restartMcus = 0;  // restart interval in MCUs, 0 for none
  std::vector<ScanSpec> scans = {};  // a progression of its own instead of libjpeg's
};
// Writes the picture as a JPEG through libjpeg directly.
void WriteTestJpeg(const std::string& path, const Bitmap& picture, const JpegOptions& options = {});
// A JPEG of the given size with the pattern picture.
void MakeJpeg(const std::string& path, int w, int h, const JpegOptions& options = {});
// The bytes of a 1 x 1 24-bit BMP file (one red pixel).
std::string TinyBmp();

// Records everything the run shows; answers questions from a queue (default No).
class RecordingHost : public AlbumRunHost {
 public:
  void showMessage(const Message& message_) override {
    const std::string text = RenderMessage(message_); messages.push_back(text); }
  bool askYesNo(const Message& question_, const Message& caption_) override {
    const std::string text = RenderMessage(question_), caption = RenderMessage(caption_);
    questions.push_back(caption + "|" + text);
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  void setStatus(StatusPanel panel, const Message& status_) override {
    const std::string text = RenderMessage(status_);
    status[static_cast<int>(panel)] = text;
    statusLog.push_back(std::to_string(static_cast<int>(panel)) + ":" + text);
  }
  void note(const Message& note_) override {
    const std::string detail = RenderMessage(note_); notes.push_back(detail); }
  bool processEvents() override { return ++events > abortAfterEvents && abortAfterEvents >= 0; }
  void beginRun() override { ++begins; }
  void endRun(bool early) override { endings.push_back(early); }
  void showPreview(const Bitmap& thumbnail) override { previews.push_back({thumbnail.width, thumbnail.height}); }
  void openWithProgram(const std::string& program, const std::string& document, const std::string& folder) override {
    opened.push_back(program + "|" + document + "|" + folder);
  }
  void openWithAssociatedProgram(const std::string& path) override { opened.push_back("|" + path); }
  void namesPassedOver(const std::string& folder, size_t count) override {
    passedOver.push_back(folder + "|" + std::to_string(count));
  }

  std::vector<std::string> messages, questions, statusLog, notes, opened, passedOver;
  std::vector<bool> answers;
  std::vector<bool> endings;
  std::vector<std::pair<int, int>> previews;
  std::string status[3];
  int events = 0;
  int abortAfterEvents = -1;  // Abort is pressed after this many event rounds
  int begins = 0;
};

// Records what the settings commands ask of the window; dialogs and
// questions are answered from its fields.
class RecordingWindow : public SettingsWindow {
 public:
  void showMessage(const Message& message_) override {
    const std::string text = RenderMessage(message_); messages.push_back(text); }
  bool askYesNo(const Message& question_, const Message& caption_) override {
    const std::string text = RenderMessage(question_), caption = RenderMessage(caption_);
    questions.push_back(caption + "|" + text);
    return answer;
  }
  void setPicturesPerRow(int16_t count) override { perRow = count; }
  void setLoadButtonEnabled(bool enabled) override { button9 = enabled; }
  std::optional<std::string> chooseOpenFile(const Message&, const std::string&) override { return dialogAnswer; }
  std::optional<std::string> chooseSaveFile(const Message& filter_, const std::string& folder) override {
    const std::string filter = RenderMessage(filter_);
    dialogs.push_back(filter + "|" + folder);
    return dialogAnswer;
  }
  void refillOptions() override { ++refills; }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> dialogs;
  bool answer = false;
  int perRow = -1;
  std::optional<bool> button9;
  std::optional<std::string> dialogAnswer;
  int refills = 0;
};

}  // namespace pictavo
