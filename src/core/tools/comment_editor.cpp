#include "tools/comment_editor.h"

#include <sys/stat.h>

#include <cerrno>

#include "image/jpeg.h"
#include "platform/error.h"
#include "platform/file_copy.h"
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

std::string CommentEditor::fileCountText() const { return "ファイル数：" + std::to_string(m_files.size()); }

void CommentEditor::readFolder(const std::string& folder) {
  m_folder = folder;
  m_files.clear();
  const Listing listing = ListFiles(folder);
  for (const auto& name : listing.names) {
    if (LowerAscii(Extension(name)) == ".jpg") m_files.push_back(name);
  }
  m_slots.assign(std::min(m_files.size(), kMaxCommentSlots), CommentSlot{});
  m_recordNames.clear();
  m_selected = -1;
  if (FileExists(CommentFilePath(folder))) {
    CommentFile file;
    std::string error;
    if (!ReadCommentFile(folder, file, error)) {
      m_host.showMessage(error);
    } else {
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
  readFolder(folder);
  if (!m_files.empty()) select(0);
}

void CommentEditor::openOther(const std::string& chosen) {
  if (m_commentsModified &&
      m_host.askYesNo("コメントが修正されています。\rファイルを保存しますか？", "Pictavo")) {
    save();
  }
  comment1.clear();
  comment2.clear();
  m_commentsModified = false;
  readFolder(chosen.empty() ? m_folder : chosen);
}

bool CommentEditor::showPicture(int index, Bitmap& picture) {
  JpegInfo info;
  std::string error;
  if (!DecodeJpegFile(FolderBase(m_folder) + m_files[static_cast<size_t>(index)], picture, info, error)) {
    m_host.showMessage(error);
    return false;
  }
  // Shown upright, as the album shows it, so its dimensions are the upright ones.
  if (info.orientation != 1) picture = ApplyOrientation(picture, info.orientation);
  m_preview = CommentPreviewBox(picture.width, picture.height);
  return true;
}

bool CommentEditor::select(int index) {
  if (index < 0 || index >= static_cast<int>(m_files.size())) return false;
  m_selected = index;
  Bitmap picture;
  if (!showPicture(index, picture)) return false;
  if (static_cast<size_t>(index) < m_slots.size()) {
    comment1 = m_slots[static_cast<size_t>(index)].comment1;
    comment2 = m_slots[static_cast<size_t>(index)].comment2;
  }
  return true;
}

void CommentEditor::update() {
  if (m_selected < 0 || static_cast<size_t>(m_selected) >= m_slots.size()) return;
  m_slots[static_cast<size_t>(m_selected)] = {comment1, comment2};
  m_commentsModified = true;
}

bool CommentEditor::fill(int index, FillWhat what) {
  const std::string& name = m_files[static_cast<size_t>(index)];
  const std::string path = FolderBase(m_folder) + name;
  struct stat st {};
  const bool needsFile = what != FillWhat::Name;
  // The size and time need only the file's status, so a read-only file is
  // filled like any other.
  if (needsFile && ::stat(path.c_str(), &st) != 0) {
    m_host.showMessage(SystemErrorText(path, errno));
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
      Bitmap picture;
      if (!showPicture(index, picture)) return false;
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
  return true;
}

bool CommentEditor::fillSelected(FillWhat what) {
  if (m_selected < 0 || m_selected >= static_cast<int>(m_files.size())) return true;
  return fill(m_selected, what);
}

bool CommentEditor::fillAll(FillWhat what) {
  for (int i = 0; i < static_cast<int>(m_files.size()); ++i) {
    if (!fill(i, what)) return false;
  }
  return true;
}

bool CommentEditor::save() {
  std::string error;
  switch (WriteCommentFile(m_folder, m_files, m_slots, error)) {
    case CommentWriteResult::Saved:
      m_host.showMessage(kCommentSavedMessage);
      return true;
    case CommentWriteResult::CannotCreate:
      m_host.showMessage(error);
      return false;
    case CommentWriteResult::WriteFailed:
      m_host.showMessage("ファイル書き込みエラーが発生しました。\r処理は中断されました。");
      m_host.note(error);
      return false;
  }
  return false;
}

}  // namespace pictavo
