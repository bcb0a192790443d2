#pragma once
// The comment editor's data: the folder's JPEG files, two comment lines per
// file, the fill commands that write dates, times, names, sizes and picture
// dimensions into them, and saving as the folder's comment file. The window
// shows this state; the command line drives it.

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/bitmap.h"
#include "comments/comment_file.h"
#include "platform/command_host.h"
#include "vocabulary/preview.h"

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

// Told after each entry of an "all files" fill: the entry's index; the
// fields hold its new texts; `picture` is the entry's picture when the fill
// decoded it for its dimensions (the preview shows it), else null.
using FillObserver = std::function<void(int index, const Bitmap* picture)>;
// The folder chooser: a folder, or nothing when cancelled.
using FolderChooser = std::function<std::optional<std::string>()>;

class CommentEditor {
 public:
  explicit CommentEditor(CommandHost& host) : m_host(host) {}

  // Opening from the main window: the folder's ".jpg" files, their comments
  // from the comment file, the first one selected and shown.
  void openFolder(const std::string& folder);
  // Open1: asks to save changed comments first (when 更新 has been used),
  // then asks `choose` for the folder. A chosen folder is read with its
  // comments and no entry selected; a cancelled chooser changes nothing, so
  // edits the user chose not to save are still there. False when cancelled.
  bool openOther(const FolderChooser& choose);
  // Shows entry `index`: its comments in the fields and its picture decoded
  // for the preview. False after reporting a picture that cannot be decoded;
  // the fields still show the entry's own comments, the preview is empty.
  bool select(int index);
  // 更新: the two comment fields into the selected entry's slots.
  void update();
  // The fill commands for the selected entry or for all entries; false after
  // reporting an error (entries filled before it keep their texts).
  // After an "all files" fill the fields and the preview return to the
  // selected entry's own, so that 更新 stores them where they belong.
  bool fillSelected(FillWhat what);
  bool fillAll(FillWhat what, const FillObserver& filled = {});
  // 保存: writes the comment file; false on failure (after the message). A
  // file that was read only in part (more records than are kept) or not at
  // all is never replaced: the save is refused and says why.
  bool save();
  // Before the editor is closed or its folder replaced: when comments were
  // changed (by 更新 or a fill) and not saved since, asks whether to save and
  // saves on Yes. False when the save failed: the caller keeps everything.
  bool settleUnsavedChanges();

  std::string comment1, comment2;
  bool noExtension = false;    // names without their extension
  bool addDimensions = false;  // sizes followed by the picture's dimensions

  const std::string& folder() const { return m_folder; }
  const std::vector<std::string>& files() const { return m_files; }
  const std::vector<CommentSlot>& commentSlots() const { return m_slots; }
  int selected() const { return m_selected; }
  bool commentsModified() const { return m_commentsModified; }
  // Comments changed since the folder was read or last saved.
  bool hasUnsavedChanges() const { return m_unsaved; }
  PreviewBox preview() const { return m_preview; }
  // The picture the preview shows, upright, as decoded when it was shown;
  // empty when it could not be decoded.
  const Bitmap& picture() const { return m_picture; }
  // Status panel 0: "ファイル数：" and the number of entries.
  Message fileCountText() const;

 private:
  void readFolder(const std::string& folder);
  bool fill(int index, FillWhat what, Bitmap* decoded);
  bool decode(int index, Bitmap& picture);
  void showSelectedComments();

  CommandHost& m_host;
  std::string m_folder;
  std::vector<std::string> m_files;
  std::vector<CommentSlot> m_slots;
  std::vector<std::string> m_recordNames;
  // Why the folder's comment file may not be replaced; empty when it may.
  std::optional<Message> m_keepFileReason;
  int m_selected = -1;
  bool m_commentsModified = false;
  bool m_unsaved = false;
  PreviewBox m_preview;
  Bitmap m_picture;
};

}  // namespace pictavo
