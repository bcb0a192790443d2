#pragma once
// The album run (the Execute command): for the selected pictures of a folder,
// make the thumbnails and write the catalogue page and, when asked, the
// slide-show page. It talks to its surroundings only through AlbumRunHost.

#include <climits>
#include <string>
#include <vector>

#include "album/album_page.h"
#include "vocabulary/picture_entry.h"
#include "image/bitmap.h"
#include "comments/comment_file.h"
#include "platform/command_host.h"
#include "platform/messages.h"
#include "platform/sink.h"
#include "settings/album_settings.h"

namespace pictavo {

class AlbumRunHost : public CommandHost {
 public:
  // Disables the window's controls for the run.
  virtual void beginRun() {}
  // Restores the window. earlyEnd: the run ended before its page was made (no
  // selection, a failure), so the picture list is refilled from the folder.
  virtual void endRun(bool earlyEnd) { (void)earlyEnd; }
  // Shows a finished thumbnail in the preview (only called when previewOn).
  virtual void showPreview(const Bitmap& thumbnail) { (void)thumbnail; }
  // Opens the comment editor (the answer Yes to the missing-comment-file question).
  virtual void openCommentEditor() {}
};

struct AlbumRunState;

// The run's duties towards other files and programs at its fixed points.
// Execute and the batch run with all of them (AlbumRunExtras, through
// RunAlbumInSession); a caller that wants the page alone says so with
// WithoutRunDuties.
class RunExtras {
 public:
  virtual ~RunExtras() = default;
  // After the selection has been read: the comment-file check and the
  // automatic settings save. False ends the run early.
  virtual bool afterSelection(AlbumRunState& run) = 0;
  // After the folder preparation: the comment table and the background
  // picture. False ends the run early.
  virtual bool afterFolderPreparation(AlbumRunState& run) = 0;
  // Closing steps, when the run was not aborted.
  virtual void endOfRunNotice(AlbumRunState& run) = 0;
};

// No duties: the pages and thumbnails only.
class WithoutRunDuties final : public RunExtras {
 public:
  bool afterSelection(AlbumRunState&) override { return true; }
  bool afterFolderPreparation(AlbumRunState&) override { return true; }
  void endOfRunNotice(AlbumRunState&) override {}
};

enum class RunOutcome {
  Completed,  // reached its end
  Aborted,    // Abort pressed; pages completed and closed
  Failed,     // ended with one of its failure messages
};

struct AlbumRunState {
  AlbumSettings& settings;
  MainValues& main;
  std::vector<PictureEntry>& pictures;
  AlbumRunHost& host;
  int perRow;                 // the per-row control's position (1..10)
  CivilDate today;            // the clock, read by the caller
  // Working state the extras read or fill.
  std::string albumFolder;    // currentFolder with a trailing "/"
  std::string thumbnailFolder;
  std::vector<CommentSlot> comments;  // one per list entry, at most kMaxCommentSlots
  bool runActive = true;
  // Opens the page and the slide show; tests make it fail part-way, as a
  // full disk does.
  SinkOpener openPage = OpenAtomicSink;
};

// The message for the first numeric setting the run cannot use (the run
// stops at it before writing anything); none when every one is usable.
std::optional<Message> AlbumRunSettingsProblem(const AlbumSettings& settings);

// The Execute command. Returns how the run ended; every message the user
// must see has been shown through the host.
RunOutcome AlbumRun(AlbumRunState& run, RunExtras& extras);

// Message texts of the run.
namespace msg {
inline const Message kNoSelection{MessageId::NoSelection};
inline const Message kClearFailed{MessageId::ClearFailed};
inline const Message kReadError{MessageId::ReadError};
}  // namespace msg

}  // namespace pictavo
