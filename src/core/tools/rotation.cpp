#include "tools/rotation.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>

#include "album/thumbnail.h"
#include "image/dib.h"
#include "image/exif.h"
#include "image/jpeg.h"
#include "platform/file_copy.h"
#include "platform/folder_write.h"
#include "platform/paths.h"
#include "text/chars.h"

namespace pictavo {

namespace {

const Message kNothingSelected{MessageId::NoSelection};
const Message kLastCaption{MessageId::SaveAndFinish};
const Message kNextCaption{MessageId::SaveAndNext};
constexpr int kExifMarker = 0xE1;  // APP1

// The embedded thumbnail of a saved picture: within 160 x 160, as cameras
// make it; empty when it cannot be encoded (the EXIF then drops it).
std::string ExifThumbnail(const Bitmap& picture) {
  constexpr int kBox = 160;
  std::string bytes;
  const int longer = std::max(picture.width, picture.height);
  const Bitmap small =
      longer > kBox ? FilterThumbnail(picture, kBox, kBox, static_cast<long double>(longer) / kBox) : picture;
  if (!EncodeJpeg(small, 80, bytes).ok()) bytes.clear();  // no thumbnail is all a failure leaves
  return bytes;
}

Bitmap Rotate(const Bitmap& picture, bool right) {
  if (picture.empty()) return picture;
  TPxDIB src, dst;
  src.Assign(picture);
  const int w = src.Width(), h = src.Height();
  dst.SetHeight(w);
  dst.SetWidth(h);
  dst.SetPixelFormat(src.PixelFormat());
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) {
      if (right) {
        dst.SetPixels(h - 1 - y, x, src.Pixels(x, y));
      } else {
        dst.SetPixels(y, w - 1 - x, src.Pixels(x, y));
      }
    }
  }
  Bitmap out;
  dst.AssignTo(out);
  if (out.bitsPerPixel != 24) out.palette = picture.palette;  // greyscale keeps its greys
  return out;
}

// The modification time at the 2-second resolution of a DOS time stamp; 0
// when the file cannot be read.
time_t DosModificationTime(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || st.st_mtime <= 0) return 0;
  return DosTime(st.st_mtime);
}

bool SetModificationTime(const std::string& path, time_t t) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = t;
  times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace

Bitmap RotateRight(const Bitmap& picture) { return Rotate(picture, true); }
Bitmap RotateLeft(const Bitmap& picture) { return Rotate(picture, false); }

PreviewSize RotationPreviewSize(int width, int height) {
  const long double w = width, h = height;
  if (h < w) return {200, static_cast<int>(RoundHalfEven(h / w * 200))};
  return {static_cast<int>(RoundHalfEven(w / h * 200)), 200};
}

std::string RotationCounterText(int pictureNumber, int selectedCount) {
  return ZeroPad(pictureNumber, 3) + "/" + ZeroPad(selectedCount, 3);
}

RotationWalk::RotationWalk(CommandHost& host, const AlbumSettings& settings)
    : quality(std::clamp<int>(settings.rotationQuality, kRotationMinQuality, kRotationMaxQuality)),
      openSink(OpenAtomicSink),
      m_host(host),
      m_settings(settings) {}

std::string RotationWalk::currentName() const {
  if (!m_controls.windowOpen) return "";
  return listMode() ? (*m_list)[static_cast<size_t>(m_currentIndex)].name : m_singleName;
}

bool RotationWalk::openList(const std::string& folder, std::vector<PictureEntry>& list) {
  m_singleName.clear();
  m_list = &list;
  m_folder = folder;
  m_firstIndex = m_lastIndex = -1;
  m_selectedCount = 0;
  m_controls.next = true;
  m_controls.back = false;
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i].selected) continue;
    if (LowerAscii(Extension(list[i].name)) != ".jpg") {
      list[i].selected = false;
      continue;
    }
    if (m_firstIndex == -1) m_firstIndex = static_cast<int>(i);
    m_lastIndex = static_cast<int>(i);
    ++m_selectedCount;
  }
  if (m_lastIndex == -1) {
    m_list = nullptr;
    m_host.showMessage(kNothingSelected);
    return false;
  }
  m_currentIndex = m_firstIndex;
  m_pictureNumber = 1;
  showCounter();
  m_controls.windowOpen = true;
  load();
  const bool last = m_currentIndex == m_lastIndex;
  m_controls.next = !last;
  m_controls.saveCaption = last ? kLastCaption : kNextCaption;
  m_controls.rotateRight = m_controls.rotateLeft = true;
  return true;
}

bool RotationWalk::openSingle(const std::string& folder, const std::vector<std::string>& selectedNames) {
  m_list = nullptr;
  m_singleName.clear();
  m_folder = folder;
  m_controls.next = m_controls.back = false;
  for (const auto& name : selectedNames) {
    if (LowerAscii(Extension(name)) == ".jpg") m_singleName = name;
  }
  if (m_singleName.empty()) {
    m_host.showMessage(kNothingSelected);
    return false;
  }
  m_counter.clear();
  m_host.setStatus(StatusPanel::Counter, Detail(""));
  m_controls.windowOpen = true;
  load();
  m_controls.saveCaption = kLastCaption;
  m_controls.rotateRight = m_controls.rotateLeft = true;
  return true;
}

void RotationWalk::showCounter() {
  m_counter = RotationCounterText(m_pictureNumber, m_selectedCount);
  m_host.setStatus(StatusPanel::Counter, Detail(m_counter));
}

void RotationWalk::load() {
  JpegInfo info;
  if (const Status decoded = DecodeJpegFile(FolderBase(m_folder) + currentName(), m_picture, info); !decoded.ok()) {
    // The walk stays on this entry with nothing to save: Save can never write
    // the previous picture's pixels over this file.
    m_picture = Bitmap{};
    m_preview = {};
    m_host.showMessage(Detail(decoded.reason()));
    return;
  }
  // Shown upright, as viewers and the album's thumbnails show it, so that
  // what is saved (with the orientation then set to 1) is what was seen.
  if (info.orientation != 1) m_picture = ApplyOrientation(m_picture, info.orientation);
  m_preview = RotationPreviewSize(m_picture.width, m_picture.height);
}

int RotationWalk::nextSelected(int from, int step) const {
  for (int i = from + step; i >= 0 && i < static_cast<int>(m_list->size()); i += step) {
    if ((*m_list)[static_cast<size_t>(i)].selected) return i;
  }
  return from;
}

void RotationWalk::rotate(bool right) {
  if (!m_controls.windowOpen || m_picture.empty()) return;
  const RotationControls before = m_controls;
  m_controls.rotateRight = m_controls.rotateLeft = m_controls.next = m_controls.back = false;
  m_host.setStatus(StatusPanel::Step, MessageId::Rotating);
  m_picture = Rotate(m_picture, right);
  m_preview = RotationPreviewSize(m_picture.width, m_picture.height);
  m_controls = before;
  m_host.setStatus(StatusPanel::Step, Detail(""));
}

void RotationWalk::rotateRight() { rotate(true); }
void RotationWalk::rotateLeft() { rotate(false); }

void RotationWalk::closeWindow() {
  m_controls.windowOpen = false;
  m_picture = Bitmap{};
}

void RotationWalk::advance() {
  if (m_currentIndex == m_lastIndex) {
    m_controls.saveCaption = kNextCaption;
    m_controls.next = true;
    closeWindow();
    return;
  }
  m_currentIndex = nextSelected(m_currentIndex, 1);
  ++m_pictureNumber;
  showCounter();
  load();
  if (m_currentIndex == m_lastIndex) {
    m_controls.next = false;
    m_controls.saveCaption = kLastCaption;
  }
}

void RotationWalk::next() {
  if (!m_controls.windowOpen || !listMode()) return;
  m_controls.back = true;
  advance();
  m_controls.rotateRight = m_controls.rotateLeft = true;
}

void RotationWalk::back() {
  if (!m_controls.windowOpen || !listMode()) return;
  if (m_firstIndex < m_currentIndex) {
    m_currentIndex = nextSelected(m_currentIndex, -1);
    --m_pictureNumber;
    showCounter();
    load();
  } else {
    m_controls.back = false;
  }
  m_controls.rotateRight = m_controls.rotateLeft = m_controls.next = true;
  m_controls.saveCaption = kNextCaption;
}

void RotationWalk::finish() {
  m_controls.next = true;
  m_controls.saveCaption = kNextCaption;
  closeWindow();
}

SaveOutcome RotationWalk::refused(const Error& error, SaveOutcome outcome) {
  m_host.showMessage(error.message);
  m_host.note(Detail(error.detail));
  return outcome;
}

SaveOutcome RotationWalk::save() {
  if (!m_controls.windowOpen) return SaveOutcome::NotOpen;
  if (listMode()) m_controls.back = true;
  const std::string name = currentName();
  if (m_picture.empty()) {
    m_host.showMessage(MessageId::FileWriteFailed);
    return SaveOutcome::WriteFailed;
  }
  // The picture, and below its backup, are written only inside the folder.
  const FolderWrite picture = FolderWritePath(m_folder, name);
  if (!picture) return refused(*picture.error, SaveOutcome::WriteFailed);
  const std::string path = picture.path;

  if (isOn(m_settings.rotationBackup)) {
    const FolderWrite folder = FolderWritePath(m_folder, "_backup");
    if (!folder) return refused(*folder.error, SaveOutcome::BackupFailed);
    const std::string backupFolder = folder.path;
    Message error;
    std::string detail;
    bool ok = FolderExists(backupFolder) || MakeFolders(backupFolder);
    if (!ok) detail = backupFolder;
    const FolderWrite backup = ok ? FolderWritePath(backupFolder, name, {path}) : FolderWrite{};
    if (ok && !backup) return refused(*backup.error, SaveOutcome::BackupFailed);
    // An existing backup is never replaced: it keeps the oldest version.
    // CopyFileAs writes it completely and flushes it before this goes on.
    if (ok && !PathExists(backup.path)) ok = CopyFileAs(path, backup.path, error, &detail);
    if (!ok) {
      m_host.showMessage(MessageId::BackupWriteFailed);
      m_host.note(Detail(detail));
      return SaveOutcome::BackupFailed;
    }
  }

  const time_t stamp = PathExists(path) ? DosModificationTime(path) : 0;
  std::string bytes, error;
  // The photographer's metadata goes with the new pixels; the pixels are
  // upright now, so the orientation says so.
  std::vector<JpegSegment> segments;
  Status made;
  if (PathExists(path)) made = ReadJpegMetadata(path, segments);
  if (made.ok()) {
    // The EXIF also describes the picture: its pixel size and the thumbnail
    // that file managers show must be those of the saved, upright picture.
    std::optional<std::string> thumbnail;
    for (JpegSegment& s : segments) {
      if (s.marker != kExifMarker) continue;
      if (!thumbnail && ReadExifFacts(s.data).hasThumbnailIfd) thumbnail = ExifThumbnail(m_picture);
      if (auto rewritten = RewriteExifForPicture(s.data, m_picture.width, m_picture.height, thumbnail.value_or(""))) {
        s.data = std::move(*rewritten);
      } else {
        SetExifOrientation(reinterpret_cast<uint8_t*>(s.data.data()), s.data.size(), 1);
      }
    }
    made = EncodeJpeg(m_picture, quality, segments, bytes);
  }
  bool ok = made.ok();
  if (!ok) error = made.reason();
  if (ok && IsReadOnly(path)) {
    if (!m_host.askYesNo(MessageId::ReadOnlyQuestion, MessageId::Caption)) return SaveOutcome::Declined;
    if (!ClearReadOnly(path)) {
      ok = false;
      error = path + ": the read-only attribute cannot be removed";
    }
  }
  if (ok) {
    // A temporary file beside the picture, flushed and renamed over it: the
    // photograph is either the old one or the new one, never half of each.
    SinkOpening opened = openSink(path);
    ByteSink* const sink = opened.sink.get();
    ok = sink && sink->write(bytes) && sink->close();
    if (!ok) error = sink ? sink->error() : opened.status.reason();
  }
  if (ok && stamp > 0 && PathExists(path)) SetModificationTime(path, stamp);
  if (!ok) {
    m_host.showMessage(MessageId::FileWriteFailed);
    m_host.note(Detail(error));
    return SaveOutcome::WriteFailed;
  }

  if (!listMode()) {
    closeWindow();
  } else {
    advance();
  }
  m_controls.rotateRight = m_controls.rotateLeft = true;
  return SaveOutcome::Saved;
}

}  // namespace pictavo
