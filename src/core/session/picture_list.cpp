#include "session/picture_list.h"

#include <algorithm>
#include <utility>

#include "platform/paths.h"
#include "text/chars.h"

namespace pictavo {

PictureListRefill RefillPictureList(const std::string& folder, const std::string& htmlFileName) {
  PictureListRefill refill;
  const Listing files = ListFiles(folder);
  refill.ok = files.ok;
  refill.error = files.error;
  refill.skippedNames = files.skipped.size();
  const std::string page = LowerAscii(htmlFileName);
  for (const auto& name : files.names) {
    if (LowerAscii(name) == page) refill.pageFound = true;
    if (LowerAscii(Extension(name)) == ".jpg") refill.pictures.push_back({name, true});
  }
  return refill;
}

namespace {

bool AnySelected(const std::vector<PictureEntry>& list) {
  return std::any_of(list.begin(), list.end(), [](const PictureEntry& e) { return e.selected; });
}

// One pass upward: walking down the list, each selected entry changes places
// with the one above it. The entry at position i is still the original one
// when the walk reaches it, so blocks move whole.
void PassUp(std::vector<PictureEntry>& list) {
  for (size_t i = 1; i < list.size(); ++i) {
    if (list[i].selected) std::swap(list[i - 1], list[i]);
  }
}

void PassDown(std::vector<PictureEntry>& list) {
  for (size_t i = list.size() - 1; i-- > 0;) {
    if (list[i].selected) std::swap(list[i], list[i + 1]);
  }
}

}  // namespace

MoveResult MoveUp(std::vector<PictureEntry>& list) {
  if (list.empty()) return MoveResult::Unchanged;
  if (list.front().selected) return MoveResult::CannotMove;
  if (!AnySelected(list)) return MoveResult::Unchanged;
  PassUp(list);
  return MoveResult::Moved;
}

MoveResult MoveDown(std::vector<PictureEntry>& list) {
  if (list.empty()) return MoveResult::Unchanged;
  if (list.back().selected) return MoveResult::CannotMove;
  if (!AnySelected(list)) return MoveResult::Unchanged;
  PassDown(list);
  return MoveResult::Moved;
}

MoveResult MoveToTop(std::vector<PictureEntry>& list) {
  if (!AnySelected(list)) return MoveResult::Unchanged;
  if (list.front().selected) return MoveResult::Unchanged;
  while (!list.front().selected) PassUp(list);
  return MoveResult::Moved;
}

MoveResult MoveToBottom(std::vector<PictureEntry>& list) {
  if (!AnySelected(list)) return MoveResult::Unchanged;
  if (list.back().selected) return MoveResult::Unchanged;
  while (!list.back().selected) PassDown(list);
  return MoveResult::Moved;
}

void SelectAll(std::vector<PictureEntry>& list) {
  for (auto& e : list) e.selected = true;
}

void SelectNone(std::vector<PictureEntry>& list) {
  for (auto& e : list) e.selected = false;
}

std::optional<size_t> FirstSelected(const std::vector<PictureEntry>& list) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].selected) return i;
  }
  return std::nullopt;
}

std::optional<std::string> PreviewPicturePath(const std::string& folder, const std::vector<PictureEntry>& list) {
  const auto first = FirstSelected(list);
  if (!first) return std::nullopt;
  return FolderBase(folder) + list[*first].name;
}

std::string NextFolderAmong(const std::string& current, const std::vector<std::string>& siblings) {
  if (current == "/" || current.empty()) return "/";
  const std::string parent = ParentFolder(current);
  const std::string base = FolderBase(parent);
  for (size_t i = 0; i < siblings.size(); ++i) {
    if (base + siblings[i] == current) return base + siblings[(i + 1) % siblings.size()];
  }
  return "/";
}

std::string NextFolder(const std::string& current) {
  if (current == "/" || current.empty()) return "/";
  const Listing folders = ListFolders(ParentFolder(current));
  if (!folders.ok) return "/";
  return NextFolderAmong(current, folders.names);
}

std::vector<FolderListEntry> FolderListEntries(const std::string& folder, const std::vector<std::string>& subFolders) {
  std::vector<FolderListEntry> entries;
  entries.push_back({"/", 0, folder == "/"});
  std::string path;
  size_t start = 1;
  int level = 0;
  while (start < folder.size()) {
    size_t end = folder.find('/', start);
    if (end == std::string::npos) end = folder.size();
    if (end > start) {
      path += "/" + folder.substr(start, end - start);
      entries.push_back({path, ++level, false});
    }
    start = end + 1;
  }
  entries.back().current = true;
  const std::string base = FolderBase(folder);
  for (const auto& sub : subFolders) entries.push_back({base + sub, level + 1, false});
  return entries;
}

PreviewSize PreviewFit(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const long double w = width;
  const long double h = height;
  if (width > height) return {kPreviewBox, static_cast<int>(RoundHalfEven(h / w * kPreviewBox))};
  return {static_cast<int>(RoundHalfEven(w / h * kPreviewBox)), kPreviewBox};
}

int CentreOffset(int outer, int inner) { return outer / 2 - inner / 2; }

int ClampSplitter(int position, int windowWidth) {
  return std::max(kSplitterMargin, std::min(position, windowWidth - kSplitterMargin));
}

}  // namespace pictavo
