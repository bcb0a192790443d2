#pragma once
// The comment editor's data: the folder's JPEG files, two comment lines per
// file, the fill commands that write dates, times, names, sizes and picture
// dimensions into them, and saving as the folder's comment file. The window
// shows this state; the command line drives it.

#include <ctime>
#include <string>
#include <vector>

#include "image/bitmap.h"
#include "mainwin/comment_file.h"
#include "platform/command_host.h"
#include "tools/preview.h"

namespace pictavo {

// The locale texts of a time: short date "yy/MM/dd", a blank and the long
// time ("午後 2:30:00"); the date alone at exactly midnight.
std::string CommentDateTimeText(const std::tm& local);
// The first eight characters of the date-time text.
std::string CommentDateText(const std::string& dateTime);
// The last eleven characters, or ten when those begin with a blank.
std::string CommentTimeText(const std::string& dateTime);
// "120.6KB": tenths of kilobytes, rounded half to even.
std::string CommentSizeText(long long bytes);
// "(640,480)".
std::string CommentDimensionText(int width, int height);
// The preview box for a picture: at most 150 a side, centred in the 166 x 191 panel.
PreviewBox CommentPreviewBox(int width, int height);

enum class FillWhat { Date, DateTime, Size, Name, NameDate, NameSize };

class CommentEditor {
 public:
  explicit CommentEditor(CommandHost& host) : m_host(host) {}

  // Opening from the main window: the folder's ".jpg" files, their comments
  // from the comment file, the first one selected and shown.
  void openFolder(const std::string& folder);
  // Open1: asks to save changed comments first; chosen empty keeps the folder.
  // The comments are read again and no entry is selected.
  void openOther(const std::string& chosen);
  // Shows entry `index` (decodes it for the preview); false after reporting
  // an error, with the fields left as they were.
  bool select(int index);
  // 更新: the two comment fields into the selected entry's slots.
  void update();
  // The fill commands for the selected entry or for all entries; false after
  // reporting an error (entries filled before it keep their texts).
  bool fillSelected(FillWhat what);
  bool fillAll(FillWhat what);
  // 保存: writes the comment file; false on failure (after the message).
  bool save();

  std::string comment1, comment2;
  bool noExtension = false;    // names without their extension
  bool addDimensions = false;  // sizes followed by the picture's dimensions

  const std::string& folder() const { return m_folder; }
  const std::vector<std::string>& files() const { return m_files; }
  const std::vector<CommentSlot>& slots() const { return m_slots; }
  int selected() const { return m_selected; }
  bool commentsModified() const { return m_commentsModified; }
  PreviewBox preview() const { return m_preview; }
  // Status panel 0: "ファイル数：" and the number of entries.
  std::string fileCountText() const;

 private:
  void readFolder(const std::string& folder);
  bool fill(int index, FillWhat what);
  bool showPicture(int index, Bitmap& picture);

  CommandHost& m_host;
  std::string m_folder;
  std::vector<std::string> m_files;
  std::vector<CommentSlot> m_slots;
  std::vector<std::string> m_recordNames;
  int m_selected = -1;
  bool m_commentsModified = false;
  PreviewBox m_preview;
};

}  // namespace pictavo
