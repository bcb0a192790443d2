#include "album/album_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include <optional>

#include "album/slideshow_page.h"
#include "album/thumbnail_name.h"
#include "album/thumbnail_pipeline.h"
#include "image/jpeg.h"
#include "platform/error.h"
#include "platform/folder_write.h"
#include "platform/paths.h"
#include "platform/sink.h"
#include "settings/name_check.h"
#include "text/chars.h"
#include "platform/textfile.h"

namespace pictavo {

namespace {

// A numeric setting that does not parse ends the run before anything is written.
struct SettingFailure {
  std::string field;
  std::string value;
  bool outOfRange;  // a number, but not one the run can use
};

int ParseSetting(const char* field, const std::string& value, bool positive = false) {
  const auto v = ParseDecimal(value);
  if (!v) throw SettingFailure{field, value, false};
  if (positive && *v <= 0) throw SettingFailure{field, value, true};
  return *v;
}

Message SettingFailureText(const SettingFailure& f) {
  return f.outOfRange ? SettingOutOfRangeText(f.field, f.value, 1) : BadSettingText(f.field, f.value);
}

Message IoFailureText(const std::string& detail) {
  return {MessageId::WriteErrorBecause, {detail}};
}

// The numeric settings the run uses, parsed once before anything is
// written: a bad one ends the run with its field named and no page cut
// short.
struct RunParameters {
  int tw = 0, th = 0;
  int titleColor = 0, titleBack = 0;
  bool limit = false;
  int maxX = 0, maxY = 0;
};

RunParameters ParseRunParameters(const AlbumSettings& s) {
  RunParameters p;
  p.tw = ParseSetting("thumbnailWidth", s.thumbnailWidth, true);
  p.th = ParseSetting("thumbnailHeight", s.thumbnailHeight, true);
  p.titleColor = ParseSetting("titleFontColor", s.titleFontColor);
  p.titleBack = ParseSetting("titleBackgroundColor", s.titleBackgroundColor);
  ParseSetting("thumbnailQuality", s.thumbnailQuality);
  p.limit = isOn(s.makeSlideShow) && isOn(s.slideShowLimit);
  if (p.limit) {
    p.maxX = ParseSetting("slideShowMaxX", s.slideShowMaxX, true);
    p.maxY = ParseSetting("slideShowMaxY", s.slideShowMaxY, true);
  }
  return p;
}

class Run {
 public:
  Run(AlbumRunState& state, RunExtras& extras) : m_run(state), m_s(state.settings), m_host(state.host), m_extras(extras) {}

  RunOutcome execute() {
    try {
      return body();
    } catch (const SettingFailure& f) {
      return fail(SettingFailureText(f));
    }
  }

 private:
  RunOutcome body() {
    // The per-row control keeps 1 to 10; a caller that passes anything else
    // gets told so before anything is touched (0 would divide by zero).
    if (m_run.perRow < kMinPicturesPerRow || m_run.perRow > kMaxPicturesPerRow) {
      m_host.showMessage(SettingOutOfRangeText("picturesPerRow", std::to_string(m_run.perRow), kMinPicturesPerRow,
                                               kMaxPicturesPerRow));
      return RunOutcome::Failed;
    }
    startRun();
    m_p = ParseRunParameters(m_s);
    const long long lastSelected = readSelection();
    if (m_selected == 0) {
      m_host.showMessage(msg::kNoSelection);
      return endEarly();
    }
    // Names from the settings become paths: checked before anything is written.
    std::vector<std::string_view> names;
    names.reserve(m_run.pictures.size());
    for (const auto& e : m_run.pictures) names.emplace_back(e.name);
    if (const std::optional<Message> bad = CheckAlbumNames(m_s, m_run.albumFolder, names)) return fail(*bad);
    if (!m_extras.afterSelection(m_run)) return endEarly();
    if (!prepareThumbnailFolder()) return endEarly();
    if (!m_extras.afterFolderPreparation(m_run)) return endEarly();
    if (!writePageHeads()) return endFailed();
    if (!pictureLoop(lastSelected)) return endFailed();
    return closingSteps();
  }

  void startRun() {
    m_run.albumFolder = FolderBase(m_run.main.currentFolder);
    m_run.runActive = true;
    m_host.beginRun();
    m_title = m_run.main.albumTitle;
    m_host.setStatus(StatusPanel::Counter, Detail("0000/0000   "));
    m_s.picturesPerRow = static_cast<int16_t>(m_run.perRow);
    m_perRow = m_run.perRow;
  }

  // The selected entries in list order; "back.jpg" is deselected. Returns
  // the index of the last selected entry (-1 for none).
  long long readSelection() {
    long long lastSelected = -1;
    for (size_t i = 0; i < m_run.pictures.size(); ++i) {
      PictureEntry& e = m_run.pictures[i];
      if (!e.selected) continue;
      if (e.name == "back.jpg") {
        e.selected = false;
        continue;
      }
      lastSelected = static_cast<long long>(i);
      ++m_selected;
      if (m_first.empty()) m_first = e.name;
    }
    return lastSelected;
  }

  bool prepareThumbnailFolder() {
    m_run.thumbnailFolder = m_run.albumFolder + m_s.thumbnailFolderName;
    if (!FolderExists(m_run.thumbnailFolder) && ::mkdir(m_run.thumbnailFolder.c_str(), 0777) != 0) {
      m_host.note(Detail(SystemErrorText(m_run.thumbnailFolder, errno)));
      m_host.showMessage(msg::kWriteError);
      return false;
    }
    // Thumbnails are written without a look for what a killed run left (one
    // listing per thumbnail would cost a large folder dearly): one look here.
    RemoveStaleTemporaries(m_run.thumbnailFolder);
    // Only regular files, never through a link (see DeleteRegularFiles).
    if (isOn(m_s.clearThumbnailFolder)) {
      if (const Status cleared = DeleteRegularFiles(m_run.thumbnailFolder); !cleared.ok()) {
        m_host.note(Detail(cleared.reason()));
        m_host.showMessage(msg::kClearFailed);
        return false;
      }
    }
    m_run.comments.assign(std::min(m_run.pictures.size(), kMaxCommentSlots), CommentSlot{});
    return true;
  }

  // The page head and body opening, and the slide show's head.
  bool writePageHeads() {
    m_texts.version = m_run.main.programVersion;
    m_texts.title = m_title;
    m_texts.date = m_run.today;
    m_texts.backgroundHtml = ColorToHtml(m_s.backgroundColor);
    m_texts.textHtml = ColorToHtml(m_s.textColor);
    m_texts.titleColorHtml = ColorToHtml(m_p.titleColor);
    m_texts.titleBackHtml = ColorToHtml(m_p.titleBack);
    m_texts.commentColorHtml = ColorToHtml(m_run.main.commentColor);

    m_pagePath = m_run.albumFolder + m_s.htmlFileName;
    if (!open(m_page, m_pagePath) || !m_page->writeLines(AlbumHeadBlock(m_s, m_texts, m_selected, m_first)) ||
        !m_page->writeLines(AlbumBodyOpening(m_s, m_texts))) {
      noteError(m_page, m_pagePath);
      m_host.showMessage(msg::kWriteError);
      return false;
    }
    m_slideShow = isOn(m_s.makeSlideShow);
    if (m_slideShow) {
      m_showPath = m_run.albumFolder + "SShow.htm";
      if (!open(m_show, m_showPath) || !m_show->writeLines(SlideShowHead(m_s, m_texts.version, m_title, m_selected))) {
        noteError(m_show, m_showPath);
        m_host.showMessage(msg::kWriteError);
        return false;
      }
    }
    return true;
  }

  // Picture by picture: events, Abort, the thumbnail, the cells and the
  // slide-show lines. False after a failure's message; an Abort ends the
  // loop and the closing steps follow.
  bool pictureLoop(long long lastSelected) {
    m_host.setStatus(StatusPanel::Phase, MessageId::ReadingPictures);
    m_commentRow.assign(static_cast<size_t>(m_perRow), std::string());
    // Each picture's task is made when the workers come near it, so a long
    // list costs nothing before its first picture.
    long long next = 0;
    const auto quality = ParseDecimal(m_s.thumbnailQuality);
    ThumbnailPipeline pipeline(
        [&]() -> std::optional<ThumbnailTask> {
          while (next <= lastSelected && !m_run.pictures[static_cast<size_t>(next)].selected) ++next;
          if (next > lastSelected) return std::nullopt;
          return thumbnailTask(m_run.pictures[static_cast<size_t>(next++)].name, quality);
        },
        static_cast<size_t>(m_selected));
    for (long long i = 0; i <= lastSelected; ++i) {
      if (m_host.processEvents()) m_run.runActive = false;
      if (!m_run.runActive) {
        m_host.showMessage(msg::kAborted);
        break;  // the work made ahead is dropped with the pipeline, nothing of it written
      }
      const PictureEntry& entry = m_run.pictures[static_cast<size_t>(i)];
      if (!entry.selected) continue;
      m_host.setStatus(StatusPanel::Counter, Detail(ZeroPad(m_processed + 1, 4) + "/" + ZeroPad(m_selected, 4) + "   "));
      ++m_processed;
      if (!writePicture(static_cast<size_t>(i), entry.name, pipeline)) return false;
    }
    return true;
  }

  bool writePicture(size_t index, const std::string& name, ThumbnailPipeline& pipeline) {
    Picture pic;
    if (!makeThumbnail(name, pipeline, pic)) return false;
    if (pic.width > m_widest) m_widest = pic.width;
    if (pic.height > m_tallest) m_tallest = pic.height;
    if (pic.written && m_run.main.previewOn) m_host.showPreview(pic.thumbnail);

    const DisplaySize ds = ThumbnailDisplaySize(pic.width, pic.height, m_p.tw, m_p.th);
    m_page->writeLine(AlbumPictureCell(m_s, name, pic.width, pic.height, ds.width, ds.height));
    const size_t slot = static_cast<size_t>((m_processed - 1) % m_perRow);
    const CommentSlot none;
    const CommentSlot& c = index < m_run.comments.size() ? m_run.comments[index] : none;
    m_commentRow[slot] = AlbumCommentCell(m_texts, ds.width, c.comment1, c.comment2);

    if (m_slideShow) {
      m_show->writeLines(SlideShowEntry(m_processed, name,
                                        SlideShowDisplaySize(m_p.limit, pic.width, pic.height, m_p.maxX, m_p.maxY)));
    }
    m_commentsOn = m_run.main.addComments;
    if (m_processed < m_selected && m_processed % m_perRow == 0) {
      m_page->writeLines(AlbumRowBreak(m_commentsOn, m_commentRow));
      if (m_commentsOn) std::fill(m_commentRow.begin(), m_commentRow.end(), std::string());
    }
    return checkWrites();
  }

  // Also after an Abort: both pages are completed, then put in place.
  RunOutcome closingSteps() {
    m_page->writeLines(AlbumTableEnd(m_perRow, m_processed, m_commentsOn, m_commentRow));
    m_page->writeLines(AlbumClosingBlock(m_s));
    if (m_slideShow) {
      m_show->writeLines(
          SlideShowTail(m_texts.backgroundHtml, m_processed, m_p.limit, m_widest, m_tallest, m_p.maxX, m_p.maxY));
    }
    if (!checkWrites()) return endFailed();
    if (const std::string failure = closePages(); !failure.empty()) {
      m_host.showMessage(IoFailureText(failure));
      return endFailed();
    }
    for (StatusPanel p : {StatusPanel::Step, StatusPanel::Phase, StatusPanel::Counter}) m_host.setStatus(p, Detail(""));
    const bool completed = m_run.runActive;
    if (completed) m_extras.endOfRunNotice(m_run);
    m_host.endRun(false);
    return completed ? RunOutcome::Completed : RunOutcome::Aborted;
  }

  struct Picture {
    int width = 0;
    int height = 0;
    bool written = false;
    Bitmap thumbnail;
  };

  // What a selected picture's thumbnail making needs.
  ThumbnailTask thumbnailTask(const std::string& name, std::optional<int> quality) const {
    ThumbnailTask t;
    t.picturePath = m_run.albumFolder + name;
    t.thumbnailPath = FolderBase(m_run.thumbnailFolder) + ThumbnailFileName(m_s, name);
    t.job.tw = m_p.tw;
    t.job.th = m_p.th;
    t.job.filter = isNotOff(m_s.thumbnailFilter);
    t.skipExisting = isOn(m_s.skipExistingThumbnails);
    t.quality = quality;
    return t;
  }

  // Thumbnail making; false after its failure message has been shown. The
  // pipeline has decoded, reduced and encoded the picture ahead; everything
  // the user sees, and the file, happen here at the picture's turn.
  bool makeThumbnail(const std::string& name, ThumbnailPipeline& pipeline, Picture& pic) {
    // A slow picture keeps the window answering; an Abort pressed meanwhile
    // counts at the next picture, as one pressed between pictures does.
    ThumbnailResult r = pipeline.take([this] { m_host.letEventsRun(); });
    if (!r.readOk) {
      m_host.note(Detail(r.readError));
      m_host.showMessage(msg::kReadError);
      return false;
    }
    m_host.setStatus(StatusPanel::Step, Detail(name));
    pic.width = r.made.width;
    pic.height = r.made.height;
    if (r.made.path == ThumbnailPath::Kept) {
      m_host.setStatus(StatusPanel::Step, MessageId::SkippedFile);
      pipeline.finished();
      return true;
    }
    m_host.setStatus(StatusPanel::Step,
                     r.made.path == ThumbnailPath::Filter ? MessageId::Filtering : MessageId::NormalCompression);
    pic.thumbnail = std::move(r.made.thumbnail);
    // A link in the thumbnail folder may lead anywhere, or to a picture of the run.
    const FolderWrite target = FolderWritePath(m_run.thumbnailFolder, ThumbnailFileName(m_s, name), picturePaths());
    if (!target) {
      m_host.note(Detail(target.error->detail));
      m_host.showMessage(target.error->message);
      return false;
    }
    // A thumbnail can be made again: renamed into place, not flushed to disk.
    const Status written = r.encoded ? WriteFileAtomically(target.path, r.bytes, /*durable=*/false) : Status();
    if (!r.encoded || !written.ok()) {
      m_host.note(Detail(r.encoded ? written.reason() : r.encodeError));
      m_host.showMessage(msg::kWriteError);
      return false;
    }
    pipeline.finished();
    pic.written = true;
    return true;
  }

  // The pictures the run reads, which no thumbnail may replace; made once.
  const std::vector<std::string>& picturePaths() {
    if (m_picturePaths.empty()) {
      for (const auto& e : m_run.pictures) m_picturePaths.push_back(m_run.albumFolder + e.name);
    }
    return m_picturePaths;
  }

  bool open(std::optional<TextWriter>& writer, const std::string& path) {
    // A temporary file, put in place when the run ends: a kill or a full
    // disk leaves the previous page whole.
    SinkOpening opened = m_run.openPage(path);
    if (!opened.sink) {
      m_host.note(Detail(opened.status.reason()));
      return false;
    }
    writer.emplace(std::move(opened.sink));
    return true;
  }

  void noteError(const std::optional<TextWriter>& writer, const std::string& path) {
    if (writer && !writer->error().empty()) m_host.note(Detail(writer->error()));
    (void)path;
  }

  // Reports the first failed write of the page or the slide show.
  bool checkWrites() {
    for (auto* w : {&m_page, &m_show}) {
      if (*w && !(*w)->ok()) {
        m_host.showMessage(IoFailureText((*w)->error()));
        return false;
      }
    }
    return true;
  }

  // Puts the pages in place as they stand, the catalogue page first; a run
  // that failed leaves them cut short where it stopped. When the writing of
  // either has failed, or a page cannot be put in place, neither page that is
  // left replaces its previous version: a page that could not be written
  // whole is no page, and the old pair stays together. Returns the failure
  // of putting a page in place (empty when none).
  std::string closePages() {
    const bool written = (!m_page || m_page->ok()) && (!m_show || m_show->ok());
    std::string failure;
    for (auto* w : {&m_page, &m_show}) {
      if (*w && written && failure.empty() && !(*w)->close()) failure = (*w)->error();
      w->reset();  // an unclosed page's temporary file goes with it
    }
    return failure;
  }

  RunOutcome endEarly() {
    if (const std::string failure = closePages(); !failure.empty()) m_host.note(Detail(failure));
    m_host.endRun(true);
    return RunOutcome::Failed;
  }

  RunOutcome endFailed() { return endEarly(); }

  RunOutcome fail(const Message& text) {
    m_host.showMessage(text);
    return endEarly();
  }

  AlbumRunState& m_run;
  AlbumSettings& m_s;
  AlbumRunHost& m_host;
  RunExtras& m_extras;
  std::string m_title;
  int m_perRow = 5;
  long long m_selected = 0;
  long long m_processed = 0;
  std::string m_first;
  long long m_widest = 0;
  long long m_tallest = 0;
  PageTexts m_texts;
  std::string m_pagePath;
  std::string m_showPath;
  bool m_slideShow = false;
  RunParameters m_p;
  std::vector<std::string> m_commentRow;
  bool m_commentsOn = false;
  std::optional<TextWriter> m_page;
  std::optional<TextWriter> m_show;
  std::vector<std::string> m_picturePaths;
};

}  // namespace

std::optional<Message> AlbumRunSettingsProblem(const AlbumSettings& settings) {
  try {
    (void)ParseRunParameters(settings);
  } catch (const SettingFailure& f) {
    return SettingFailureText(f);
  }
  return {};
}

RunOutcome AlbumRun(AlbumRunState& run, RunExtras& extras) {
  Run r(run, extras);
  return r.execute();
}

}  // namespace pictavo
