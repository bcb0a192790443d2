#pragma once
// The picture rotation: a walk over the selected JPEG pictures (or one picture
// chosen in the comment editor), 90-degree turns of the full-size picture, and
// Save, which re-encodes the picture over its file after an optional backup
// into "_backup". The window shows this state; the command line drives it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image/bitmap.h"
#include "platform/command_host.h"
#include "platform/error.h"
#include "platform/sink.h"
#include "settings/album_settings.h"
#include "vocabulary/picture_entry.h"
#include "vocabulary/preview.h"

namespace pictavo {

inline constexpr int kRotationMinQuality = 50;
inline constexpr int kRotationMaxQuality = 100;

enum class SaveOutcome {
  Saved,         // the picture (and its first backup) written
  Declined,      // No to the read-only question
  BackupFailed,  // the backup could not be written; the picture is untouched
  WriteFailed,   // the picture could not be encoded or written; it is untouched
  NotOpen,       // the walk is closed
};

// Turns a picture 90 degrees through the DIB image, pixel by pixel; a
// palette picture keeps its colour table.
Bitmap RotateRight(const Bitmap& picture);
Bitmap RotateLeft(const Bitmap& picture);

// The preview of a picture inside 200 x 200.
PreviewSize RotationPreviewSize(int width, int height);

// "002/015": the last three digits of the number and of the count.
std::string RotationCounterText(int pictureNumber, int selectedCount);

// Enabled states and captions of the window's controls.
struct RotationControls {
  bool rotateRight = true;   // Button1
  bool rotateLeft = true;    // Button2
  bool next = true;          // Button3: on to the next picture without saving
  bool back = false;         // Button6: back to the previous picture
  Message saveCaption = MessageId::SaveAndNext;  // Button4: save, then the next or the end
  bool windowOpen = false;
};

class RotationWalk {
 public:
  RotationWalk(CommandHost& host, const AlbumSettings& settings);

  // List mode over the main window's list; selected entries whose extension is
  // not ".jpg" are deselected. False (after the message) when none is left.
  bool openList(const std::string& folder, std::vector<PictureEntry>& list);
  // Single-picture mode on the last selected ".jpg" name.
  bool openSingle(const std::string& folder, const std::vector<std::string>& selectedNames);

  void rotateRight();
  void rotateLeft();
  void next();
  void back();
  // What Save did. Anything but Saved wrote nothing, and the walk stays on
  // the picture; the failures have shown their message.
  [[nodiscard]] SaveOutcome save();
  void finish();

  // The window's own copy of rotationQuality, brought into the range of its
  // up-down control as the control's position would be.
  int quality = 95;
  SinkOpener openSink;

  const RotationControls& controls() const { return m_controls; }
  const std::string& counterText() const { return m_counter; }
  const Bitmap& picture() const { return m_picture; }
  PreviewSize preview() const { return m_preview; }
  // The name shown (and the one Save writes); empty when the walk is closed.
  std::string currentName() const;

 private:
  bool listMode() const { return m_list != nullptr; }
  void load();
  void showCounter();
  void advance();   // to the next selected entry
  int nextSelected(int from, int step) const;
  void closeWindow();
  void rotate(bool right);
  // A write the folder rule refused: its message and detail, then `outcome`.
  SaveOutcome refused(const Error& error, SaveOutcome outcome);

  CommandHost& m_host;
  const AlbumSettings& m_settings;
  std::string m_folder;
  std::vector<PictureEntry>* m_list = nullptr;
  std::string m_singleName;
  int m_firstIndex = -1;
  int m_lastIndex = -1;
  int m_selectedCount = 0;
  int m_currentIndex = -1;
  int m_pictureNumber = 0;
  RotationControls m_controls;
  std::string m_counter;
  Bitmap m_picture;  // full size; empty when the current file could not be decoded
  PreviewSize m_preview;
};

}  // namespace pictavo
