#include "settings/option_form.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/error.h"
#include "platform/paths.h"
#include "settings/name_check.h"
#include "text/chars.h"

namespace pictavo {

namespace {

const char* OnOff(bool on) { return on ? "on" : "off"; }

std::string ListText(const std::vector<std::string>& items, int index) {
  return index >= 0 && static_cast<size_t>(index) < items.size() ? items[static_cast<size_t>(index)] : std::string();
}

int IndexOf(const std::vector<std::string>& items, const std::string& text) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

int SpinRange::fromText(const std::string& text) const {
  const auto value = ParseDecimal(text);
  return value ? clamp(*value) : lowest;
}

const std::vector<std::string>& TitleSizeItems() {
  static const std::vector<std::string> items = {"1", "2", "3", "4", "5", "6", "7"};
  return items;
}

const std::vector<std::string>& TitleWidthItems() {
  static const std::vector<std::string> items = {"100", "200", "300", "400", "500", "600", "700", kStandardWidth};
  return items;
}

std::string OptionForm::titleSizeText() const { return ListText(TitleSizeItems(), titleSize); }
std::string OptionForm::titleFontText() const { return ListText(fonts, titleFont); }
std::string OptionForm::titleWidthText() const { return ListText(TitleWidthItems(), titleWidth); }

int TitleSizeIndex(const std::string& stored) {
  const auto size = ParseDecimal(stored);
  if (!size || *size < 1 || *size > 7) return -1;
  return *size - 1;
}

int TitleWidthIndex(const std::string& stored) {
  if (stored == kStandardWidth) return 7;
  const auto width = ParseDecimal(stored);
  if (!width) return -1;
  // 250 selects "200": halves go to the even neighbour. Only the numbered
  // entries can be reached this way; 800 is not "標準".
  const long long position = RoundHalfEven(static_cast<long double>(*width) / 100) - 1;
  return position >= 0 && position <= 6 ? static_cast<int>(position) : -1;
}

OptionForm FillOptionForm(const AlbumSettings& s, int perRowControl, const std::vector<std::string>& fonts) {
  OptionForm f;
  f.backgroundColor = s.backgroundColor;
  f.startFolder = s.startFolder;
  f.backgroundFile = s.backgroundFile;
  f.backgroundPattern = isOn(s.backgroundPattern);
  f.browserPath = s.browserPath;
  f.externalViewerPath = s.externalViewerPath;
  f.startAtCurrentPosition = true;
  f.rotationQuality = spin::kRotationQuality.clamp(s.rotationQuality);
  f.rotationBackup = isOn(s.rotationBackup);

  f.titleSize = TitleSizeIndex(s.titleFontSize);
  f.titleColor = ParseDecimal(s.titleFontColor);
  for (const auto& name : fonts) {
    if (!name.empty() && name.front() != '@') f.fonts.push_back(name);
  }
  f.titleFont = IndexOf(f.fonts, s.titleFontFace);
  if (f.titleFont < 0 && !s.titleFontFace.empty()) {
    // A face this system lacks stays choosable, so a confirmation keeps it.
    f.fonts.push_back(s.titleFontFace);
    f.titleFont = static_cast<int>(f.fonts.size()) - 1;
    f.titleFontMissing = true;
  }
  f.titleWidth = TitleWidthIndex(s.titleTableWidth);
  f.titleBackground = ParseDecimal(s.titleBackgroundColor);
  f.titleItalic = isNotOff(s.titleItalic);
  f.titleBold = isNotOff(s.titleBold);

  f.thumbnailWidth = spin::kThumbnailSide.fromText(s.thumbnailWidth);
  f.thumbnailHeight = spin::kThumbnailSide.fromText(s.thumbnailHeight);
  f.openInSubWindow = isNotOff(s.openInSubWindow);
  f.scriptPopup = isNotOff(s.scriptPopup);
  f.makeSlideShow = isNotOff(s.makeSlideShow);
  f.slideShowLimit = isNotOff(s.slideShowLimit);
  f.slideShowMaxX = spin::kSlideSide.fromText(s.slideShowMaxX);
  f.slideShowMaxY = spin::kSlideSide.fromText(s.slideShowMaxY);
  f.slideShowInterval = spin::kInterval.fromText(s.slideShowInterval);
  f.thumbnailQuality = spin::kThumbnailQuality.fromText(s.thumbnailQuality);
  f.thumbnailFilter = isNotOff(s.thumbnailFilter);
  f.noBrowserPrompt = isNotOff(s.noBrowserPrompt);

  f.htmlFileName = s.htmlFileName;
  f.thumbnailFolderName = s.thumbnailFolderName;
  f.titleFontSpecified = isOn(s.titleFontSpecified);
  f.defaultHeader = isOn(s.defaultHeader);
  f.defaultFooter = isOn(s.defaultFooter);
  f.footerLink = isOn(s.footerLink);
  f.headerComment = s.headerComment;
  f.footerComment = s.footerComment;
  f.footerLinkUrl = s.footerLinkUrl;
  f.titleUseTable = isOn(s.titleUseTable);
  f.thumbnailPrefix = s.thumbnailPrefix;
  f.skipExisting = isOn(s.skipExistingThumbnails);
  f.titleTableBorder = spin::kBorder.fromText(s.titleTableBorder);
  f.tableBorder = spin::kBorder.fromText(s.tableBorder);
  f.noPictureFrame = s.pictureFrame == "off";
  f.perRow = spin::kPerRow.clamp(perRowControl);
  f.clearThumbnailFolder = isNotOff(s.clearThumbnailFolder);
  f.autoSaveSettings = isNotOff(s.autoSaveSettings);
  f.textColor = s.textColor;
  return f;
}

std::optional<Message> TakeBackgroundFile(OptionForm& form, const std::string& chosen) {
  const std::string extension = LowerAscii(Extension(chosen));
  if (extension == ".jpg" || extension == ".gif") {
    form.backgroundFile = chosen;
    return {};
  }
  form.backgroundFile.clear();
  return msg::kBackgroundType;
}

std::optional<Message> CheckOptionNames(const OptionForm& form, const std::string& programFolder) {
  // Names become single components of an album folder; anything else could
  // reach outside the scratch folder here and outside the album in a run.
  if (!SingleComponent(form.thumbnailFolderName)) return msg::kBadFolderName;
  if (!SingleComponent(form.htmlFileName)) return msg::kBadFileName;
  if (form.thumbnailPrefix.find('/') != std::string::npos || form.thumbnailPrefix.find('\0') != std::string::npos) {
    return pictavo::msg::BadNameText("thumbnailPrefix", form.thumbnailPrefix);
  }

  // The file system has the last word: make both in the scratch folder and
  // take away only what was made here.
  const std::string scratch = FolderBase(programFolder) + "temp";
  if (!FolderExists(scratch) && !MakeFolders(scratch)) return Detail(SystemErrorText(scratch, errno));
  const std::string folder = FolderBase(scratch) + form.thumbnailFolderName;
  bool madeFolder = false;
  if (!PathExists(folder)) {
    if (::mkdir(folder.c_str(), 0777) != 0) return msg::kBadFolderName;
    madeFolder = true;
  }
  const std::string file = FolderBase(folder) + form.htmlFileName;
  std::optional<Message> result;
  if (!PathExists(file)) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
      result = msg::kBadFileName;
    } else {
      const bool written = ::write(fd, "\r\n", 2) == 2;
      ::close(fd);
      ::unlink(file.c_str());
      if (!written) result = msg::kBadFileName;
    }
  } else if (FolderExists(file)) {
    result = msg::kBadFileName;  // the page would be a folder
  }
  if (madeFolder) ::rmdir(folder.c_str());
  return result;
}

void ApplyOptionForm(const OptionForm& f, const WindowPlaces& places, AlbumSettings& s) {
  s.displayLeft = std::to_string(f.startAtCurrentPosition ? places.left : places.startLeft);
  s.displayTop = std::to_string(f.startAtCurrentPosition ? places.top : places.startTop);
  s.backgroundColor = f.backgroundColor;
  s.textColor = f.textColor;
  // A list without a selection, or a swatch whose stored text was not a
  // number, leaves its field as it was.
  if (f.titleSize >= 0) s.titleFontSize = f.titleSizeText();
  if (f.titleColor) s.titleFontColor = std::to_string(*f.titleColor);
  s.titleFontFace = f.titleFontText();
  if (f.titleWidth >= 0) s.titleTableWidth = f.titleWidthText();
  if (f.titleBackground) s.titleBackgroundColor = std::to_string(*f.titleBackground);
  s.titleItalic = OnOff(f.titleItalic);
  s.titleBold = OnOff(f.titleBold);
  s.thumbnailWidth = std::to_string(f.thumbnailWidth);
  s.thumbnailHeight = std::to_string(f.thumbnailHeight);
  s.openInSubWindow = OnOff(f.openInSubWindow);
  s.scriptPopup = OnOff(f.scriptPopup);  // kept while its box is disabled
  s.makeSlideShow = OnOff(f.makeSlideShow);
  s.slideShowInterval = std::to_string(f.slideShowInterval);
  s.thumbnailQuality = std::to_string(f.thumbnailQuality);
  s.thumbnailFilter = OnOff(f.thumbnailFilter);
  s.noBrowserPrompt = OnOff(f.noBrowserPrompt);
  s.htmlFileName = f.htmlFileName;
  s.thumbnailFolderName = f.thumbnailFolderName;
  s.titleFontSpecified = OnOff(f.titleFontSpecified);
  s.defaultHeader = OnOff(f.defaultHeader);
  s.defaultFooter = OnOff(f.defaultFooter);
  s.footerLink = OnOff(f.footerLink);
  s.headerComment = f.headerComment;
  s.footerComment = f.footerComment;
  s.footerLinkUrl = f.footerLinkUrl;
  s.titleUseTable = OnOff(f.titleUseTable);
  s.thumbnailPrefix = f.thumbnailPrefix;
  s.skipExistingThumbnails = OnOff(f.skipExisting);
  s.tableBorder = std::to_string(f.tableBorder);
  s.slideShowLimit = OnOff(f.slideShowLimit);
  s.slideShowMaxX = std::to_string(f.slideShowMaxX);
  s.slideShowMaxY = std::to_string(f.slideShowMaxY);
  s.pictureFrame = f.noPictureFrame ? "off" : "on";
  s.picturesPerRow = static_cast<int16_t>(spin::kPerRow.clamp(f.perRow));
  s.clearThumbnailFolder = OnOff(f.clearThumbnailFolder);
  s.autoSaveSettings = OnOff(f.autoSaveSettings);
  s.rotationQuality = spin::kRotationQuality.clamp(f.rotationQuality);
  s.backgroundPattern = OnOff(f.backgroundPattern);
  s.backgroundFile = f.backgroundFile;
  s.externalViewerPath = f.externalViewerPath;
  s.browserPath = f.browserPath;
  s.rotationBackup = OnOff(f.rotationBackup);
  s.startFolder = f.startFolder;
  s.titleTableBorder = std::to_string(f.titleTableBorder);
}

OptionConfirmResult ConfirmOptions(const OptionForm& form, const WindowPlaces& places, AlbumSettings& settings,
                                   const MainValues& main) {
  SettingsLines lines{};
  if (std::optional<Message> bad = CheckOptionNames(form, main.programFolder)) {
    return {OptionConfirm::BadName, *bad};
  }
  AlbumSettings confirmed = settings;
  ApplyOptionForm(form, places, confirmed);
  inisave(confirmed, main.programVersion, lines);
  std::string error;
  if (!WriteSettingsFile(DefaultSettingsPath(main.programFolder), lines, error)) {
    return {OptionConfirm::WriteFailed, Detail(error)};
  }
  settings = std::move(confirmed);
  return {};
}

const std::vector<std::string>& OnOffItems() {
  static const std::vector<std::string> items = {"on", "off"};
  return items;
}

void FillCheckView(const AlbumSettings& s, const std::string& currentFolder, CheckViewRows& rows) {
  rows.currentFolder = currentFolder;
  rows.htmlFileName = s.htmlFileName;
  rows.thumbnailFolderName = s.thumbnailFolderName;
  rows.thumbnailPrefix = s.thumbnailPrefix;
  rows.thumbnailWidth = s.thumbnailWidth;
  rows.thumbnailHeight = s.thumbnailHeight;
  const auto select = [](int& row, const std::string& text) {
    if (const int index = IndexOf(OnOffItems(), text); index >= 0) row = index;
  };
  select(rows.clearThumbnailFolder, s.clearThumbnailFolder);
  select(rows.skipExisting, s.skipExistingThumbnails);
  select(rows.thumbnailFilter, s.thumbnailFilter);
  select(rows.makeSlideShow, s.makeSlideShow);
}

void ApplyCheckView(const CheckViewRows& rows, AlbumSettings& s) {
  s.htmlFileName = rows.htmlFileName;
  s.thumbnailFolderName = rows.thumbnailFolderName;
  s.thumbnailPrefix = rows.thumbnailPrefix;
  s.clearThumbnailFolder = ListText(OnOffItems(), rows.clearThumbnailFolder);
  s.skipExistingThumbnails = ListText(OnOffItems(), rows.skipExisting);
  s.thumbnailFilter = ListText(OnOffItems(), rows.thumbnailFilter);
  s.thumbnailWidth = rows.thumbnailWidth;
  s.thumbnailHeight = rows.thumbnailHeight;
  s.makeSlideShow = ListText(OnOffItems(), rows.makeSlideShow);
}

}  // namespace pictavo
