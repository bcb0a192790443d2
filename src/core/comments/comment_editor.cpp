#include "comments/comment_editor.h"

#include <sys/stat.h>

#include <cerrno>

#include "image/jpeg.h"
#include "platform/error.h"
#include "platform/file_copy.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "text/chars.h"

namespace pictavo {

std::string CommentDateTimeText(const std::tm& t) {
  const std::string date = ZeroPad(t.tm_year % 100, 2) + "/" + ZeroPad(t.tm_mon + 1, 2) + "/" + ZeroPad(t.tm_mday, 2);
  if (t.tm_hour == 0 && t.tm_min == 0 && t.tm_sec == 0) return date;
  const int hour12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
  return date + " " + (t.tm_hour < 12 ? "午前 " : "午後 ") + std::to_string(hour12) + ":" + ZeroPad(t.tm_min, 2) + ":" +
         ZeroPad(t.tm_sec, 2);
}

std::string CommentDateText(const std::string& dateTime) { return LeftChars(dateTime, 8); }

std::string CommentTimeText(const std::string& dateTime) {
  const std::string t = RightChars(dateTime, 11);
  return t.rfind(' ', 0) == 0 ? RightChars(dateTime, 10) : t;
}

std::string CommentSizeText(long long bytes) {
  const long long t = RoundHalfEven(static_cast<long double>(bytes) / 102.4L);
  return std::to_string(t / 10) + "." + std::to_string(t % 10) + "KB";
}

std::string CommentDimensionText(int width, int height) {
  return "(" + std::to_string(width) + "," + std::to_string(height) + ")";
}

PreviewBox CommentPreviewBox(int width, int height) {
  constexpr int kPanelWidth = 166, kPanelHeight = 191;
  const long double w = width, h = height;
  PreviewBox box;
  if (h < w) {
    box.width = 150;
    box.height = static_cast<int>(RoundHalfEven(h * 150 / w));
  } else {
    box.height = 150;
    box.width = static_cast<int>(RoundHalfEven(w * 150 / h));
  }
  box.top = kPanelHeight / 2 - box.height / 2 + 10;
  box.left = kPanelWidth / 2 - box.width / 2;
  return box;
}

namespace {
const Message kSaveQuestion{MessageId::CommentsChanged};
}  // namespace

Message CommentEditor::fileCountText() const { return {MessageId::FileCount, {std::to_string(m_files.size())}}; }

void CommentEditor::readFolder(const std::string& folder) {
  m_folder = folder;
  m_files.clear();
  const Listing listing = ListFiles(folder);
  for (const auto& name : listing.names) {
    if (LowerAscii(Extension(name)) == ".jpg") m_files.push_back(name);
  }
  m_slots.assign(std::min(m_files.size(), kMaxCommentSlots), CommentSlot{});
  m_recordNames.clear();
  m_keepFileReason.reset();
  m_selected = -1;
  m_unsaved = false;
  if (FileExists(CommentFilePath(folder))) {
    CommentFile file;
    if (const Status read = ReadCommentFile(folder, file); !read.ok()) {
      m_host.showMessage(Detail(read.reason()));
      m_keepFileReason = msg::UnreadCommentFileText(CommentFilePath(folder));
    } else {
      if (file.truncated) m_keepFileReason = msg::TooManyCommentsText();
      for (const auto& r : file.records) m_recordNames.push_back(r.FileName);
      m_slots = MatchComments(file.records, m_files);
    }
  }
  m_host.setStatus(StatusPanel::Step, fileCountText());
}

void CommentEditor::openFolder(const std::string& folder) {
  comment1.clear();
  comment2.clear();
  m_preview = {};
  m_picture = Bitmap{};
  readFolder(folder);
  if (!m_files.empty()) select(0);
}

bool CommentEditor::openOther(const FolderChooser& choose) {
  if (m_commentsModified && m_host.askYesNo(kSaveQuestion, msg::kCaption)) save();
  const std::optional<std::string> chosen = choose ? choose() : std::nullopt;
  if (!chosen || chosen->empty()) return false;
  comment1.clear();
  comment2.clear();
  m_commentsModified = false;
  readFolder(*chosen);
  return true;
}

bool CommentEditor::settleUnsavedChanges() {
  if (!m_unsaved) return true;
  if (!m_host.askYesNo(kSaveQuestion, msg::kCaption)) {
    m_unsaved = false;  // the user let them go
    return true;
  }
  return save();
}

bool CommentEditor::decode(int index, Bitmap& picture) {
  JpegInfo info;
  const Status decoded = DecodeJpegFile(FolderBase(m_folder) + m_files[static_cast<size_t>(index)], picture, info);
  if (!decoded.ok()) {
    m_host.showMessage(Detail(decoded.reason()));
    return false;
  }
  // Shown upright, as the album shows it, so its dimensions are the upright ones.
  if (info.orientation != 1) picture = ApplyOrientation(picture, info.orientation);
  return true;
}

void CommentEditor::showSelectedComments() {
  if (m_selected < 0 || static_cast<size_t>(m_selected) >= m_slots.size()) return;
  comment1 = m_slots[static_cast<size_t>(m_selected)].comment1;
  comment2 = m_slots[static_cast<size_t>(m_selected)].comment2;
}

bool CommentEditor::select(int index) {
  if (index < 0 || index >= static_cast<int>(m_files.size())) return false;
  m_selected = index;
  // The fields always belong to the selected entry, so that 更新 never
  // stores one picture's comments on another.
  showSelectedComments();
  if (!decode(index, m_picture)) {
    m_picture = Bitmap{};
    m_preview = {};
    return false;
  }
  m_preview = CommentPreviewBox(m_picture.width, m_picture.height);
  return true;
}

void CommentEditor::update() {
  if (m_selected < 0 || static_cast<size_t>(m_selected) >= m_slots.size()) return;
  m_slots[static_cast<size_t>(m_selected)] = {comment1, comment2};
  m_commentsModified = true;
  m_unsaved = true;
}

bool CommentEditor::fill(int index, FillWhat what, Bitmap* decoded) {
  const std::string& name = m_files[static_cast<size_t>(index)];
  const std::string path = FolderBase(m_folder) + name;
  struct stat st {};
  const bool needsFile = what != FillWhat::Name;
  // The size and time need only the file's status, so a read-only file is
  // filled like any other.
  if (needsFile && ::stat(path.c_str(), &st) != 0) {
    m_host.showMessage(Detail(SystemErrorText(path, errno)));
    return false;
  }
  std::string dateTime;
  if (what == FillWhat::Date || what == FillWhat::DateTime || what == FillWhat::NameDate) {
    const time_t stamp = DosTime(st.st_mtime);
    std::tm local{};
    localtime_r(&stamp, &local);
    dateTime = CommentDateTimeText(local);
  }
  std::string size;
  if (what == FillWhat::Size || what == FillWhat::NameSize) {
    size = CommentSizeText(static_cast<long long>(st.st_size));
    if (addDimensions) {
      Bitmap own;
      Bitmap& picture = decoded ? *decoded : own;
      if (!decode(index, picture)) return false;
      size += " " + CommentDimensionText(picture.width, picture.height);
    }
  }
  const std::string nameText = noExtension ? LeftChars(name, CharLength(name) - 4) : name;
  switch (what) {
    case FillWhat::Date: comment1 = CommentDateText(dateTime), comment2.clear(); break;
    case FillWhat::DateTime: comment1 = CommentDateText(dateTime), comment2 = CommentTimeText(dateTime); break;
    case FillWhat::Size: comment1 = size, comment2.clear(); break;
    case FillWhat::Name: comment1 = nameText, comment2.clear(); break;
    case FillWhat::NameDate: comment1 = nameText, comment2 = CommentDateText(dateTime); break;
    case FillWhat::NameSize: comment1 = nameText, comment2 = size; break;
  }
  if (static_cast<size_t>(index) < m_slots.size()) m_slots[static_cast<size_t>(index)] = {comment1, comment2};
  m_unsaved = true;
  return true;
}

bool CommentEditor::fillSelected(FillWhat what) {
  if (m_selected < 0 || m_selected >= static_cast<int>(m_files.size())) return true;
  Bitmap picture;
  const bool decodes = what == FillWhat::Size || what == FillWhat::NameSize;
  if (!fill(m_selected, what, &picture)) return false;
  if (decodes && addDimensions) {
    // Decoded for its dimensions: the preview shows it as decoded now.
    m_picture = std::move(picture);
    m_preview = CommentPreviewBox(m_picture.width, m_picture.height);
  }
  return true;
}

bool CommentEditor::fillAll(FillWhat what, const FillObserver& filled) {
  const bool decodes = addDimensions && (what == FillWhat::Size || what == FillWhat::NameSize);
  bool ok = true;
  for (int i = 0; ok && i < static_cast<int>(m_files.size()); ++i) {
    Bitmap picture;
    ok = fill(i, what, &picture);
    if (ok && i == m_selected && decodes) m_picture = picture;
    if (ok && filled) filled(i, decodes ? &picture : nullptr);
  }
  // The fields held each entry in turn; they return to the selected one's.
  showSelectedComments();
  if (m_selected >= 0 && !m_picture.empty()) m_preview = CommentPreviewBox(m_picture.width, m_picture.height);
  return ok;
}

bool CommentEditor::save() {
  // What was not read cannot be written back: saving would drop it.
  if (m_keepFileReason) {
    m_host.showMessage(*m_keepFileReason);
    return false;
  }
  Message error;
  switch (WriteCommentFile(m_folder, m_files, m_slots, error)) {
    case CommentWriteResult::Saved:
      m_unsaved = false;
      m_host.showMessage(kCommentSavedMessage);
      return true;
    case CommentWriteResult::CannotCreate:
    case CommentWriteResult::Refused:
      m_host.showMessage(error);
      return false;
    case CommentWriteResult::WriteFailed:
      m_host.showMessage(msg::kWriteError);
      m_host.note(error);
      return false;
  }
  return false;
}

}  // namespace pictavo
