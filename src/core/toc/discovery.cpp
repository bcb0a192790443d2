#include "toc/discovery.h"

#include <unistd.h>

#include <string_view>

#include "image/jpeg.h"
#include "platform/folder_write.h"
#include "settings/name_check.h"
#include "text/chars.h"
#include "platform/textfile.h"

namespace pictavo {

namespace msg {

Message FolderLeadsOutsideNote(const std::string& path) { return {MessageId::FolderLeadsOutside, {path}}; }

Message FileLeadsOutsideNote(const std::string& path) { return {MessageId::FileLeadsOutside, {path}}; }

Message ThumbnailNameNote(const std::string& page, const std::string& name) {
  return {MessageId::ThumbnailNotAName, {page, name}};
}

}  // namespace msg

Listing CandidateFolders(const std::string& tocFolder, std::vector<std::string>* outside) {
  Listing listing = ListFolders(tocFolder);
  // A linked sub-folder is followed only while it stays inside: the batch
  // writes an album into every candidate.
  std::erase_if(listing.names, [&](const std::string& name) {
    if (!LinkLeadsOutside(tocFolder, name)) return false;
    if (outside) outside->push_back(name);
    return true;
  });
  return listing;
}

bool IsAlbumPage(const std::string& markerLine) {
  // Both markers are ASCII, so comparing the first bytes compares the first characters.
  for (const std::string_view marker : {"<!-- Lumetto", "<!-- Pictavo"}) {
    if (std::string_view(markerLine).substr(0, marker.size()) == marker) return true;
  }
  return false;
}

AlbumHead CutAlbumHead(std::string bytes) {
  // References the page writer made for characters CP932 lacks are decoded,
  // so that the names and the title are text again before a page escapes them.
  TextReader reader(std::move(bytes), /*decodeReferences=*/true);
  AlbumHead head;
  reader.readLine();  // the document-type line
  head.markerLine = reader.readLine();
  head.recognised = IsAlbumPage(head.markerLine);
  if (!head.recognised) return head;
  const std::string fileLine = reader.readLine();
  const std::string dateLine = reader.readLine();
  reader.readLine();
  reader.readLine();
  const std::string titleLine = reader.readLine();
  // Cut by position only, as the pages of every version lay these lines out alike.
  head.fields.fileCount = MidChars(fileLine, 11, 3);
  head.fields.thumbnailName = MidChars(fileLine, 15, CharLength(fileLine) - 18);
  head.fields.createdDate = MidChars(dateLine, 6, 10);
  head.fields.title = MidChars(titleLine, 8, CharLength(titleLine) - 15);
  return head;
}

Status ReadAlbumHead(const std::string& pagePath, AlbumHead& head) {
  // Only the first lines are read, so only the start of the file is.
  std::string bytes;
  if (Status read = ReadFileBytes(pagePath, bytes, nullptr, kAlbumHeadReadLimit); !read.ok()) return read;
  head = CutAlbumHead(std::move(bytes));
  return {};
}

Status ReadThumbnailSize(const std::string& path, int& width, int& height) {
  JpegInfo info;
  if (const Status read = ReadJpegInfo(path, info); !read.ok()) {
    if (read.reason().rfind(path, 0) == 0) return read;
    return Status::Failure(read.code(), path + ": " + read.reason());
  }
  width = info.width;
  height = info.height;
  return {};
}

std::string FolderTitle(const std::string& path) { return LastComponent(path); }

DiscoveryResult DiscoverAlbums(const std::string& tocFolder, const AlbumSettings& settings, bool readThumbnailSizes) {
  DiscoveryResult result;
  std::vector<std::string> outside;
  const Listing candidates = CandidateFolders(tocFolder, &outside);
  result.skippedNames = candidates.skipped;
  for (const auto& name : outside) result.notes.push_back(msg::FolderLeadsOutsideNote(FolderBase(tocFolder) + name));
  if (!candidates.ok) {
    result.status = DiscoveryStatus::Failed;
    result.error = candidates.error;
    return result;
  }
  if (candidates.names.empty()) {
    result.status = DiscoveryStatus::NoSubfolders;
    return result;
  }
  const std::string base = FolderBase(tocFolder);
  for (const auto& folder : candidates.names) {
    const std::string albumBase = base + folder + "/";
    const std::string page = albumBase + settings.htmlFileName;
    if (!FileExists(page)) continue;
    if (!LiesInside(albumBase, page)) {
      result.notes.push_back(msg::FileLeadsOutsideNote(page));
      continue;
    }
    AlbumHead head;
    if (const Status read = ReadAlbumHead(page, head); !read.ok()) {
      result.status = DiscoveryStatus::Failed;
      result.error = read.reason();
      return result;
    }
    if (!head.recognised) continue;
    AlbumEntry entry = std::move(head.fields);
    entry.folderName = folder;
    // The name comes from a page that may come from anyone: the table links
    // it and reads its header, so it must name a file of the album.
    if (!entry.thumbnailName.empty() && !SingleComponent(entry.thumbnailName)) {
      result.notes.push_back(msg::ThumbnailNameNote(page, entry.thumbnailName));
      entry.thumbnailName.clear();
    }
    const std::string thumb = albumBase + settings.thumbnailFolderName + "/" + entry.thumbnailName;
    if (!entry.thumbnailName.empty() && FileExists(thumb) && !LiesInside(albumBase, thumb)) {
      result.notes.push_back(msg::FileLeadsOutsideNote(thumb));
      entry.thumbnailName.clear();
    }
    if (readThumbnailSizes && !entry.thumbnailName.empty()) {
      if (FileExists(thumb)) {
        if (const Status read = ReadThumbnailSize(thumb, entry.thumbnailWidth, entry.thumbnailHeight); !read.ok()) {
          result.status = DiscoveryStatus::Failed;
          result.error = read.reason();
          return result;
        }
        entry.hasThumbnailSize = entry.thumbnailWidth > 0 && entry.thumbnailHeight > 0;
      }
    }
    result.albums.push_back(std::move(entry));
  }
  result.albumCount = result.albums.size();
  if (result.albums.empty()) {
    result.status = DiscoveryStatus::NoAlbums;
    return result;
  }
  result.firstAlbumFolder = result.albums.front().folderName;
  result.status = DiscoveryStatus::Found;
  return result;
}

}  // namespace pictavo
