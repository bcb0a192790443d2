#pragma once
// The album run's duties towards other files and programs, at its fixed
// points: the comment-file check and the per-folder settings save after the
// selection; the comment table and the background picture after the folder
// preparation; the end-of-run notice with its offer to open the page.

#include "album/album_run.h"
#include "settings/settings_file.h"

namespace pictavo {

namespace msg {
inline const Message kCommentFileMissing{MessageId::CommentFileMissing};
inline const Message kBackgroundMissing{MessageId::BackgroundMissing};
}  // namespace msg

class AlbumRunExtras : public RunExtras {
 public:
  bool afterSelection(AlbumRunState& run) override;
  bool afterFolderPreparation(AlbumRunState& run) override;
  void endOfRunNotice(AlbumRunState& run) override;
};

// Copies the background picture into the thumbnail folder and names the copy
// "back.jpg" or "back.gif" by its extension (any other keeps its name).
// False with `error` (and `detail`, the system's reason) on failure; a name
// in the thumbnail folder that is a link FolderWritePath refuses gives
// `error` alone, the refusal's message.
bool CopyBackgroundPicture(const std::string& backgroundFile, const std::string& thumbnailFolder, Message& error,
                           std::string& detail);

}  // namespace pictavo
