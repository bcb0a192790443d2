#pragma once
// Batch creation: an album in every sub-folder that holds pictures, made by
// driving the main window as a user would, then the table of contents over
// them. Abort takes effect between folders.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "album/album_run.h"
#include "settings/album_settings.h"
#include "toc/toc_page.h"

namespace pictavo {

// What the batch needs from the main window, per folder. The album it makes
// must come from the same inputs as when a user presses Execute.
class AlbumDriver {
 public:
  virtual ~AlbumDriver() = default;
  // Moves the main window to the folder (its album title becomes the folder's name).
  virtual void moveToFolder(const std::string& folder) = 0;
  // Refills the picture list as a folder change does (the ".jpg" files in
  // name order, all selected) and gives the live list.
  virtual const std::vector<PictureEntry>& listPictures() = 0;
  // Deselects every entry whose name is exactly `name`.
  virtual void deselect(const std::string& name) = 0;
  // Runs the album command to its end over the current folder and selection.
  virtual RunOutcome runAlbum() = 0;
};

class BatchHost : public TocHost {
 public:
  // The run begins: "中止" takes the place of "実行", the table-of-contents window hides.
  virtual void beginBatch() {}
  // A target folder is about to be made: its name in the working-folder box.
  virtual void showBatchFolder(const std::string& folderName) { (void)folderName; }
  // The status strip: "00002/00005".
  virtual void showBatchProgress(const std::string& text) { setStatus(StatusPanel::Counter, Detail(text)); }
  // One target folder is done: the progress bar steps.
  virtual void stepBatchProgress() {}
  // Every folder is done: the table-of-contents window shows again before
  // its command runs, so its messages have their window.
  virtual void beforeTableOfContents() {}
  // The run is over (aborted, finished or failed): "実行" back, the
  // table-of-contents window shown again.
  virtual void endBatch() {}
  // processEvents() reports the "中止" button.
};

// A folder is a target when its list holds a selected entry other than "back.jpg".
bool IsBatchTarget(const std::vector<PictureEntry>& pictures);

// Opening the batch window: the checks and the count of target folders. 0
// after its message (nothing to do); the driver is left on the last candidate.
int CountBatchTargets(const TocOptions& toc, AlbumDriver& driver, CommandHost& host);

// "00002/00005"
std::string BatchProgressText(long long done, long long target);

enum class BatchOutcome {
  Finished,  // every folder done; the table of contents was attempted
  Aborted,   // Abort pressed between folders; no table of contents
  Failed,    // the folder could not be listed, or a setting is unusable
};

struct BatchJob {
  const TocOptions& toc;
  const AlbumSettings& settings;
  MainValues& main;  // batchRunning is set around each album and the table of contents
  AlbumDriver& driver;
  BatchHost& host;
  CivilDate today;
};

// The message for the first numeric setting that the album runs or the table
// of contents would stop at (a thumbnail size must be above 0); empty when
// every one is usable.
std::optional<Message> BadBatchSetting(const AlbumSettings& s);

// What the run did: its outcome, each album it made (folder name and the
// album run's outcome) and, when it got that far, the table of contents'.
struct BatchReport {
  BatchOutcome outcome = BatchOutcome::Failed;
  std::vector<std::pair<std::string, RunOutcome>> albums;
  std::optional<TocOutcome> tableOfContents;
  // Every album completed and the table of contents was written.
  bool allWritten() const;
};

// A bad setting ends the run before the first folder, with its one message:
// otherwise every album would stop at it alike, each leaving a cut page.
[[nodiscard]] BatchReport RunBatch(BatchJob& job, int targetCount);

namespace msg {
inline const Message kBatchInterrupted{MessageId::Interrupted};
}  // namespace msg

}  // namespace pictavo
