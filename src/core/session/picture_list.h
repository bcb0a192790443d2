#pragma once
// The rules of the main window's picture list (OldFile) and its folder
// commands, without widgets: the window keeps the list in a Session and
// redraws it after each rule has run.

#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"
#include "vocabulary/picture_entry.h"
#include "vocabulary/preview.h"

namespace pictavo {

namespace msg {
inline const Message kCannotMove{MessageId::CannotMove};
}  // namespace msg

// A refill of the picture list from the folder: its ".jpg" files in name
// order, all selected, and whether the catalogue page (htmlFileName, in any
// letter case) is there, which enables the open-page button.
struct PictureListRefill {
  std::vector<PictureEntry> pictures;
  bool pageFound = false;
  size_t skippedNames = 0;  // names that are not valid UTF-8, passed over
  bool ok = true;
  std::string error;        // the folder and the system's reason when !ok
};
PictureListRefill RefillPictureList(const std::string& folder, const std::string& htmlFileName);

enum class MoveResult {
  Moved,
  Unchanged,   // nothing to move (empty list, or nothing selected where that is no fault)
  CannotMove,  // the first (up) or last (down) entry is selected: show msg::kCannotMove
};

// Every selected entry changes places with its neighbour above (below); a
// block of adjacent selected entries moves as a block; the selection moves
// with the entries.
MoveResult MoveUp(std::vector<PictureEntry>& list);
MoveResult MoveDown(std::vector<PictureEntry>& list);
// Repeats the move up (down) until the first (last) entry is selected, so the
// gaps between selected entries stay as they were. Nothing selected: unchanged.
MoveResult MoveToTop(std::vector<PictureEntry>& list);
MoveResult MoveToBottom(std::vector<PictureEntry>& list);

void SelectAll(std::vector<PictureEntry>& list);
void SelectNone(std::vector<PictureEntry>& list);
// The position of the first selected entry, if any.
std::optional<size_t> FirstSelected(const std::vector<PictureEntry>& list);
// The picture the preview shows: the first selected entry's path in
// `folder`; none when nothing is selected. A preview that arrives late is
// shown only while this still names its picture.
std::optional<std::string> PreviewPicturePath(const std::string& folder, const std::vector<PictureEntry>& list);

// The next folder inside the folder that holds `current`, given the
// sub-folders of its parent in list order: the sibling after `current`,
// the first after the last. "/" stays "/"; a folder not among the siblings
// (a hidden one, say) goes to the root, as the folder list's first entry.
std::string NextFolderAmong(const std::string& current, const std::vector<std::string>& siblings);
// The same over the parent's listing; the root when the parent cannot be listed.
std::string NextFolder(const std::string& current);

// The folder list's entries: the root, each ancestor, the folder itself,
// then its sub-folders (each with its indent level).
struct FolderListEntry {
  std::string path;
  int level = 0;
  bool current = false;
};
std::vector<FolderListEntry> FolderListEntries(const std::string& folder, const std::vector<std::string>& subFolders);

// The preview box: a picture fitted into 150 x 150 with its proportions, the
// shorter side rounded half to even.
inline constexpr int kPreviewBox = 150;
PreviewSize PreviewFit(int width, int height);
// The offset that centres `inner` in `outer` (each half truncated toward zero).
int CentreOffset(int outer, int inner);

// The splitter between the picture list and the preview: 150 from either
// side, the left bound winning in a narrow window.
inline constexpr int kSplitterMargin = 150;
int ClampSplitter(int position, int windowWidth);

}  // namespace pictavo
