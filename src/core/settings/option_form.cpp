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

namespace {

#define EDIT(c, set, m) \
  OptionField { c, OptionControl::Edit, OptionRule::Text, set, &OptionForm::m }
#define CHECK(c, rule, set, m) \
  OptionField { c, OptionControl::Check, OptionRule::rule, set, nullptr, &OptionForm::m }
#define SPIN(c, rule, set, m, r) \
  OptionField { c, OptionControl::Spin, OptionRule::rule, set, nullptr, nullptr, &OptionForm::m, nullptr, nullptr, &r }
#define COMBO(c, rule, set, m) \
  OptionField { c, OptionControl::Combo, OptionRule::rule, set, nullptr, nullptr, &OptionForm::m }
#define COLOUR(c, set, m) \
  OptionField { c, OptionControl::Colour, OptionRule::Colour, set, nullptr, nullptr, nullptr, &OptionForm::m }
#define STORED_COLOUR(c, set, m) \
  OptionField { c, OptionControl::Colour, OptionRule::Colour, set, nullptr, nullptr, nullptr, nullptr, &OptionForm::m }

const std::vector<OptionField> kOptionFields = {
    // 基本設定
    EDIT("Edit1", "startFolder", startFolder),
    CHECK("CheckBox2", WindowPlace, nullptr, startAtCurrentPosition),
    CHECK("autoinibox", NotOff, "autoSaveSettings", autoSaveSettings),
    // ページ設定
    SPIN("linenumspin", PerRow, "picturesPerRow", perRow, spin::kPerRow),
    SPIN("tablewidthbox", SpinText, "tableBorder", tableBorder, spin::kBorder),
    COLOUR("Panel2", "backgroundColor", backgroundColor),
    COLOUR("Panel5", "textColor", textColor),
    CHECK("Check3", On, "backgroundPattern", backgroundPattern),
    EDIT("Edit2", "backgroundFile", backgroundFile),
    // タイトル設定
    COMBO("Combo1", SizeList, "titleFontSize", titleSize),
    STORED_COLOUR("Panel3", "titleFontColor", titleColor),
    CHECK("CheckBox3", NotOff, "titleItalic", titleItalic),
    CHECK("CheckBox4", NotOff, "titleBold", titleBold),
    CHECK("fontsetbox", On, "titleFontSpecified", titleFontSpecified),
    COMBO("Combo2", Font, "titleFontFace", titleFont),
    CHECK("TtableBox", On, "titleUseTable", titleUseTable),
    COMBO("Combo3", WidthList, "titleTableWidth", titleWidth),
    STORED_COLOUR("Panel4", "titleBackgroundColor", titleBackground),
    SPIN("SpinEdit5", SpinText, "titleTableBorder", titleTableBorder, spin::kBorder),
    // ｻﾑﾈｲﾙ画像
    SPIN("SpinEdit1", SpinText, "thumbnailWidth", thumbnailWidth, spin::kThumbnailSide),
    SPIN("SpinEdit2", SpinText, "thumbnailHeight", thumbnailHeight, spin::kThumbnailSide),
    SPIN("SpinEdit4", SpinText, "thumbnailQuality", thumbnailQuality, spin::kThumbnailQuality),
    CHECK("Check5", NotOff, "openInSubWindow", openInSubWindow),
    CHECK("Check6", NotOff, "scriptPopup", scriptPopup),  // kept while its box is disabled
    CHECK("Checkfilter", NotOff, "thumbnailFilter", thumbnailFilter),
    CHECK("s_filebox", On, "skipExistingThumbnails", skipExisting),
    CHECK("PicFrameBox", Off, "pictureFrame", noPictureFrame),
    CHECK("fileclearbox", NotOff, "clearThumbnailFolder", clearThumbnailFolder),
    // 作成ﾌｧｲﾙ名
    EDIT("htmlfilebox", "htmlFileName", htmlFileName),
    EDIT("htmlfoldabox", "thumbnailFolderName", thumbnailFolderName),
    EDIT("s_headerbox", "thumbnailPrefix", thumbnailPrefix),
    // ﾍｯﾀﾞｰ/ﾌｯﾀｰ
    CHECK("headerBox", On, "defaultHeader", defaultHeader),
    EDIT("headertext", "headerComment", headerComment),
    CHECK("footerbox", On, "defaultFooter", defaultFooter),
    EDIT("footertext", "footerComment", footerComment),
    CHECK("footerlinkbox", On, "footerLink", footerLink),
    EDIT("footerlink", "footerLinkUrl", footerLinkUrl),
    // 外部ソフト
    EDIT("Edit3", "externalViewerPath", externalViewerPath),
    EDIT("Edit6", "browserPath", browserPath),
    CHECK("browserbox", NotOff, "noBrowserPrompt", noBrowserPrompt),
    // スライドショウ
    CHECK("Check7", NotOff, "makeSlideShow", makeSlideShow),
    SPIN("SpinEdit3", SpinText, "slideShowInterval", slideShowInterval, spin::kInterval),
    CHECK("s_maxcheck", NotOff, "slideShowLimit", slideShowLimit),
    SPIN("SpinSX", SpinText, "slideShowMaxX", slideShowMaxX, spin::kSlideSide),
    SPIN("SpinSY", SpinText, "slideShowMaxY", slideShowMaxY, spin::kSlideSide),
    // 画像回転
    OptionField{"UpDown1", OptionControl::UpDown, OptionRule::Clamped, "rotationQuality", nullptr, nullptr,
                &OptionForm::rotationQuality, nullptr, nullptr, &spin::kRotationQuality},
    CHECK("CheckBox1", On, "rotationBackup", rotationBackup),
};

#undef EDIT
#undef CHECK
#undef SPIN
#undef COMBO
#undef COLOUR
#undef STORED_COLOUR

}  // namespace

const std::vector<OptionField>& OptionFields() { return kOptionFields; }

OptionForm FillOptionForm(const AlbumSettings& s, int perRowControl, const std::vector<std::string>& fonts) {
  OptionForm f;
  for (const auto& name : fonts) {
    if (!name.empty() && name.front() != '@') f.fonts.push_back(name);
  }
  for (const OptionField& field : OptionFields()) {
    const std::string stored = field.setting ? FindSettingField(field.setting)->get(s) : std::string();
    switch (field.rule) {
      case OptionRule::Text:
        f.*field.text = stored;
        break;
      case OptionRule::On:
        f.*field.flag = isOn(stored);
        break;
      case OptionRule::NotOff:
        f.*field.flag = isNotOff(stored);
        break;
      case OptionRule::Off:
        f.*field.flag = stored == "off";
        break;
      case OptionRule::SpinText:
        f.*field.number = field.range->fromText(stored);
        break;
      case OptionRule::Clamped:
        f.*field.number = field.range->clamp(ParseDecimal(stored).value_or(0));
        break;
      case OptionRule::PerRow:
        f.*field.number = field.range->clamp(perRowControl);
        break;
      case OptionRule::Colour:
        if (field.colour) {
          f.*field.colour = ParseDecimal(stored).value_or(0);  // an integer field: always a number
        } else {
          f.*field.storedColour = ParseDecimal(stored);
        }
        break;
      case OptionRule::SizeList:
        f.*field.number = TitleSizeIndex(stored);
        break;
      case OptionRule::WidthList:
        f.*field.number = TitleWidthIndex(stored);
        break;
      case OptionRule::Font:
        f.*field.number = IndexOf(f.fonts, stored);
        if (f.*field.number < 0 && !stored.empty()) {
          // A face this system lacks stays choosable, so a confirmation keeps it.
          f.fonts.push_back(stored);
          f.*field.number = static_cast<int>(f.fonts.size()) - 1;
          f.titleFontMissing = true;
        }
        break;
      case OptionRule::WindowPlace:
        f.*field.flag = true;
        break;
    }
  }
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
  for (const OptionField& field : OptionFields()) {
    if (field.rule == OptionRule::WindowPlace) {
      const bool current = f.*field.flag;
      s.displayLeft = std::to_string(current ? places.left : places.startLeft);
      s.displayTop = std::to_string(current ? places.top : places.startTop);
      continue;
    }
    // Every value below is text its field takes: integers are in range.
    const auto put = [&](const std::string& value) { (void)FindSettingField(field.setting)->set(s, value); };
    switch (field.rule) {
      case OptionRule::Text:
        put(f.*field.text);
        break;
      case OptionRule::On:
      case OptionRule::NotOff:
        put(OnOff(f.*field.flag));
        break;
      case OptionRule::Off:
        put(f.*field.flag ? "off" : "on");
        break;
      case OptionRule::SpinText:
        put(std::to_string(f.*field.number));
        break;
      case OptionRule::Clamped:
      case OptionRule::PerRow:
        put(std::to_string(field.range->clamp(f.*field.number)));
        break;
      // A list without a selection, or a swatch whose stored text was not a
      // number, leaves its field as it was.
      case OptionRule::Colour:
        if (field.colour) {
          put(std::to_string(f.*field.colour));
        } else if (f.*field.storedColour) {
          put(std::to_string(*(f.*field.storedColour)));
        }
        break;
      case OptionRule::SizeList:
        if (f.*field.number >= 0) put(f.titleSizeText());
        break;
      case OptionRule::WidthList:
        if (f.*field.number >= 0) put(f.titleWidthText());
        break;
      case OptionRule::Font:
        put(f.titleFontText());
        break;
      case OptionRule::WindowPlace:
        break;
    }
  }
}

OptionConfirmResult ConfirmOptions(const OptionForm& form, const WindowPlaces& places, AlbumSettings& settings,
                                   const MainValues& main) {
  SettingsLines lines{};
  if (std::optional<Message> bad = CheckOptionNames(form, main.programFolder)) {
    return {OptionConfirm::BadName, *bad};
  }
  AlbumSettings confirmed = settings;
  ApplyOptionForm(form, places, confirmed);
  FillSettingsLines(confirmed, main.programVersion, lines);
  if (const Status written = WriteSettingsFile(DefaultSettingsPath(main.programFolder), lines); !written.ok()) {
    return {OptionConfirm::WriteFailed, Detail(written.reason())};
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
