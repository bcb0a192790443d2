#pragma once
// Album discovery: the albums among the immediate sub-folders of a folder,
// recognised by the marker line of their catalogue page, with the facts the
// table of contents shows read back from the page's first seven lines.
// Discovery writes nothing.

#include <string>
#include <cstddef>
#include <vector>

#include "platform/error.h"
#include "platform/paths.h"
#include "settings/album_settings.h"

namespace pictavo {

struct AlbumEntry {
  std::string folderName;     // the sub-folder's name, no path
  std::string title;          // line 7, characters 8 to length - 8
  std::string fileCount;      // line 3, characters 11 to 13, as it stands
  std::string createdDate;    // line 4, characters 6 to 15, as it stands
  std::string thumbnailName;  // line 3, characters 15 to length - 4
  bool hasThumbnailSize = false;
  int thumbnailWidth = 0;
  int thumbnailHeight = 0;
};

enum class DiscoveryStatus {
  NoSubfolders,  // msg::kNoFolders
  NoAlbums,      // msg::kNoTargetFolders
  Found,
  Failed,        // a folder, page or thumbnail could not be read; `error` names it
};

struct DiscoveryResult {
  DiscoveryStatus status = DiscoveryStatus::NoSubfolders;
  std::vector<AlbumEntry> albums;
  size_t albumCount = 0;
  std::string firstAlbumFolder;
  std::string error;
  std::vector<std::string> skippedNames;  // folder names that are not valid UTF-8
  // What was passed over for leading out of the folder (a sub-folder, a page
  // or a thumbnail that is a link elsewhere, a thumbnail name that is a
  // path), as notes to show.
  std::vector<Message> notes;
};

// The candidate sub-folders in processing order: not hidden, case-insensitive
// name order. Shared with the batch run. A sub-folder that is a symbolic link
// leading outside tocFolder is no candidate: its name goes to `outside`.
Listing CandidateFolders(const std::string& tocFolder, std::vector<std::string>* outside = nullptr);

// True when the marker line (line 2) begins with the current or the former
// product's marker, exactly and case-sensitively.
bool IsAlbumPage(const std::string& markerLine);

struct AlbumHead {
  std::string markerLine;
  bool recognised = false;
  AlbumEntry fields;  // folderName and the thumbnail size are left empty
};

// How much of a page ReadAlbumHead reads: far more than seven lines need.
inline constexpr size_t kAlbumHeadReadLimit = 1024 * 1024;
// Lines 1 to 7 of a page's bytes, the fields cut out when it is recognised.
AlbumHead CutAlbumHead(std::string bytes);
// Reads lines 1 to 7 of a page and, for a recognised page, cuts the fields out
// by position. A failure (see ReadFileBytes) names the file.
Status ReadAlbumHead(const std::string& pagePath, AlbumHead& head);

// Width and height from a JPEG header. A failure names the file: NotFound,
// CannotRead, or Damaged when the bytes hold no readable header.
Status ReadThumbnailSize(const std::string& path, int& width, int& height);

// The default table-of-contents title: the folder's last component (empty for "/").
std::string FolderTitle(const std::string& path);

// Discovery over `tocFolder` under the live settings' htmlFileName and
// thumbnailFolderName. readThumbnailSizes: read each representative
// thumbnail's header (only the page with pictures shows the sizes).
DiscoveryResult DiscoverAlbums(const std::string& tocFolder, const AlbumSettings& settings, bool readThumbnailSizes);

namespace msg {
// Notes for what discovery and the batch pass over.
Message FolderLeadsOutsideNote(const std::string& path);
Message FileLeadsOutsideNote(const std::string& path);
Message ThumbnailNameNote(const std::string& page, const std::string& name);
inline const Message kNoFolders{MessageId::NoFolders};
inline const Message kNoTargetFolders{MessageId::NoTargetFolders};
}  // namespace msg

}  // namespace pictavo
