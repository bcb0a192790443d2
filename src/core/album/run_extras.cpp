#include "album/run_extras.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "comments/comment_file.h"
#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/folder_write.h"
#include "platform/paths.h"
#include "settings/openers.h"
#include "text/chars.h"

namespace pictavo {

namespace {

// Removes a file if present; false only when it exists and stays.
bool RemoveIfPresent(const std::string& path, std::string& detail) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
  detail = SystemErrorText(path, errno);
  return false;
}

}  // namespace

bool CopyBackgroundPicture(const std::string& backgroundFile, const std::string& thumbnailFolder, Message& error,
                           std::string& detail) {
  const std::string base = FolderBase(thumbnailFolder);
  const std::string name = LastComponent(backgroundFile);
  const std::string extension = LowerAscii(Extension(name));
  const std::string target = extension == ".jpg" ? "back.jpg" : extension == ".gif" ? "back.gif" : name;
  const std::string source = AbsolutePath(backgroundFile);
  // The copy is written under its final name at once, so the user's chosen
  // file is only ever read: it may itself lie in the thumbnail folder
  // (tile.jpg there, or back.jpg), where copying and renaming would move it.
  // Refused before anything goes: a link there may lead out of the folder.
  const bool ownCopy = AbsolutePath(base + target) == source;  // nothing to write
  const FolderWrite copy = ownCopy ? FolderWrite{base + target, std::nullopt}
                                   : FolderWritePath(thumbnailFolder, target, {backgroundFile});
  if (!copy) {
    error = copy.error->message;
    detail.clear();
    return false;
  }
  // What the copy replaces goes first, as the copy-and-rename did it.
  for (const std::string& stale : {name, std::string("back.jpg"), std::string("back.gif")}) {
    if (stale == target || AbsolutePath(base + stale) == source) continue;
    if (!RemoveIfPresent(base + stale, detail)) {
      error = Message(MessageId::CannotCreateFile, {base + stale});
      return false;
    }
  }
  if (ownCopy) return true;  // it already is its own copy
  return CopyFileAs(backgroundFile, copy.path, error, &detail);
}

bool AlbumRunExtras::afterSelection(AlbumRunState& run) {
  if (run.main.addComments && !FileExists(CommentFilePath(run.albumFolder))) {
    if (run.host.askYesNo(msg::kCommentFileMissing, msg::kCaption)) run.host.openCommentEditor();
    return false;
  }
  if (isOn(run.settings.autoSaveSettings)) {
    AutoSaveSettings(run.settings, run.main, run.host);
  }
  return true;
}

bool AlbumRunExtras::afterFolderPreparation(AlbumRunState& run) {
  if (FileExists(CommentFilePath(run.albumFolder))) {
    CommentFile file;
    if (const Status read = ReadCommentFile(run.albumFolder, file); !read.ok()) {
      // The run does not guard this read; show the system's reason and end
      // the run with the window restored.
      run.host.showMessage(Detail(read.reason()));
      return false;
    }
    std::vector<std::string> names;
    names.reserve(run.pictures.size());
    for (const auto& p : run.pictures) names.push_back(p.name);
    run.comments = MatchComments(file.records, names);
  }

  const AlbumSettings& s = run.settings;
  if (isOn(s.backgroundPattern)) {
    if (!FileExists(s.backgroundFile)) {
      run.host.showMessage(msg::kBackgroundMissing);
    } else {
      Message error;
      std::string detail;
      if (!CopyBackgroundPicture(s.backgroundFile, run.thumbnailFolder, error, detail)) {
        if (detail.empty()) {
          run.host.showMessage(error);  // a link refused: the message names it
        } else {
          Message because = error;
          because.id = error.id == MessageId::CannotOpenFile ? MessageId::CannotOpenFileBecause
                                                              : MessageId::CannotCreateFileBecause;
          because.args.push_back(detail);
          run.host.note(because);
          run.host.showMessage(msg::kWriteError);
        }
        return false;
      }
    }
  }
  return true;
}

void AlbumRunExtras::endOfRunNotice(AlbumRunState& run) {
  if (isNotOff(run.settings.noBrowserPrompt) || run.main.batchRunning) {
    run.host.setStatus(StatusPanel::Step, msg::kFinished);
    return;
  }
  if (!run.host.askYesNo(msg::kBrowserQuestion, msg::kCaption)) return;
  Open(run.host, PageOpening(run.settings, run.albumFolder));
}

}  // namespace pictavo
