#pragma once
// The options dialog and the settings check view as data: what every control
// shows, how it is filled from the settings record, and how a confirmation
// writes it back. The windows only map controls onto these values.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/album_settings.h"
#include "settings/settings_file.h"

namespace pictavo {

// A spin control's range: a value outside is pulled to the nearer bound,
// text that is not a number gives the lower bound.
struct SpinRange {
  int lowest;
  int highest;
  int step = 1;
  int clamp(int value) const { return value < lowest ? lowest : (value > highest ? highest : value); }
  int fromText(const std::string& text) const;
};

namespace spin {
inline constexpr SpinRange kPerRow{kMinPicturesPerRow, kMaxPicturesPerRow};
inline constexpr SpinRange kBorder{0, 30};
inline constexpr SpinRange kThumbnailSide{10, 1000};
inline constexpr SpinRange kThumbnailQuality{70, 100};
inline constexpr SpinRange kInterval{1, 30};
inline constexpr SpinRange kSlideSide{300, 2000, 10};
inline constexpr SpinRange kRotationQuality{50, 100};
}  // namespace spin

// The fixed lists: Combo1 (title size) and Combo3 (title table width).
const std::vector<std::string>& TitleSizeItems();
const std::vector<std::string>& TitleWidthItems();
inline constexpr const char* kStandardWidth = "標準";

// Every control of the options dialog, by page. A list index of -1 means
// no selection; a colour without a value means the stored text was not a
// number (the swatch then shows black and the field is kept).
struct OptionForm {
  // 基本設定
  std::string startFolder;             // Edit1
  bool startAtCurrentPosition = true;  // CheckBox2
  bool autoSaveSettings = false;       // autoinibox
  // ページ設定
  int perRow = 5;                      // linenumspin
  int tableBorder = 1;                 // tablewidthbox
  int32_t backgroundColor = 16777215;  // Panel2
  int32_t textColor = 0;               // Panel5
  bool backgroundPattern = false;      // Check3
  std::string backgroundFile;          // Edit2
  // タイトル設定
  int titleSize = -1;                      // Combo1
  std::optional<int32_t> titleColor;       // Panel3
  bool titleItalic = false;                // CheckBox3
  bool titleBold = false;                  // CheckBox4
  bool titleFontSpecified = true;          // fontsetbox
  std::vector<std::string> fonts;          // Combo2's list
  int titleFont = -1;                      // Combo2
  bool titleFontMissing = false;           // the stored face is not installed (an extra entry)
  bool titleUseTable = true;               // TtableBox
  int titleWidth = -1;                     // Combo3
  std::optional<int32_t> titleBackground;  // Panel4
  int titleTableBorder = 1;                // SpinEdit5
  // ｻﾑﾈｲﾙ画像
  int thumbnailWidth = 110;           // SpinEdit1
  int thumbnailHeight = 150;          // SpinEdit2
  int thumbnailQuality = 80;          // SpinEdit4
  bool openInSubWindow = false;       // Check5
  bool scriptPopup = false;           // Check6
  bool thumbnailFilter = false;       // Checkfilter
  bool skipExisting = false;          // s_filebox
  bool noPictureFrame = false;        // PicFrameBox
  bool clearThumbnailFolder = false;  // fileclearbox
  // 作成ﾌｧｲﾙ名
  std::string htmlFileName;         // htmlfilebox
  std::string thumbnailFolderName;  // htmlfoldabox
  std::string thumbnailPrefix;      // s_headerbox
  // ﾍｯﾀﾞｰ/ﾌｯﾀｰ
  bool defaultHeader = true;  // headerBox
  std::string headerComment;  // headertext
  bool defaultFooter = true;  // footerbox
  std::string footerComment;  // footertext
  bool footerLink = false;    // footerlinkbox
  std::string footerLinkUrl;  // footerlink
  // 外部ソフト
  std::string externalViewerPath;  // Edit3
  std::string browserPath;         // Edit6
  bool noBrowserPrompt = false;    // ブラウザを起動しない
  // スライドショウ
  bool makeSlideShow = false;   // Check7
  int slideShowInterval = 3;    // SpinEdit3
  bool slideShowLimit = false;  // s_maxcheck
  int slideShowMaxX = 1000;     // SpinSX
  int slideShowMaxY = 750;      // SpinSY
  // 画像回転
  int rotationQuality = 95;    // UpDown1 (Edit7 shows it)
  bool rotationBackup = true;  // CheckBox1

  // The enabling rules, kept whenever a governing box changes.
  bool backgroundFileEnabled() const { return backgroundPattern; }        // Edit2, Button5
  bool titleFontEnabled() const { return titleFontSpecified; }            // Combo2
  bool titleTableEnabled() const { return titleUseTable; }                // Combo3, Button7, SpinEdit5
  bool scriptPopupEnabled() const { return openInSubWindow; }             // Check6
  bool headerCommentEnabled() const { return !defaultHeader; }            // headertext
  bool footerEnabled() const { return !defaultFooter; }                   // footertext, footerlinkbox
  bool footerUrlEnabled() const { return !defaultFooter && footerLink; }  // footerlink
  bool intervalEnabled() const { return makeSlideShow; }                  // SpinEdit3
  bool slideSizeEnabled() const { return slideShowLimit; }                // SpinSX, SpinSY

  // The texts the lists show; empty for no selection.
  std::string titleSizeText() const;
  std::string titleFontText() const;
  std::string titleWidthText() const;
};

// The kind of control a field of the form is shown in.
enum class OptionControl { Edit, Check, Spin, Combo, Colour, UpDown };

// How a control's value comes from its settings field and goes back.
enum class OptionRule {
  Text,         // the text as it is
  On,           // ticked for "on"; written "on"/"off"
  NotOff,       // ticked for anything but "off"; written "on"/"off"
  Off,          // ticked for "off"; written "off"/"on"
  SpinText,     // the stored text in the spin's range (not a number: its lowest)
  Clamped,      // an integer field pulled into the spin's range both ways
  PerRow,       // filled from the main window's per-row control, written clamped
  Colour,       // an integer colour, or a stored text kept when it is not a number
  SizeList,     // Combo1's position; no selection keeps the field
  WidthList,    // Combo3's position; no selection keeps the field
  Font,         // Combo2 over the installed families plus a missing stored face
  WindowPlace,  // CheckBox2: where the main window starts next time
};

// One control of the options dialog: its designer name, its kind, the
// field of the form it holds and the settings field behind it. Exactly one
// member pointer is set, of the type the control holds.
struct OptionField {
  const char* control;
  OptionControl kind;
  OptionRule rule;
  const char* setting;  // a SettingFields() name; nullptr for WindowPlace
  std::string OptionForm::*text = nullptr;
  bool OptionForm::*flag = nullptr;
  int OptionForm::*number = nullptr;
  int32_t OptionForm::*colour = nullptr;
  std::optional<int32_t> OptionForm::*storedColour = nullptr;
  const SpinRange* range = nullptr;  // Spin, UpDown
};

// Every control that holds a field, page by page. FillOptionForm,
// ApplyOptionForm and the dialog all walk this table: a new field is one
// row here plus its control.
const std::vector<OptionField>& OptionFields();

// The list position for a stored title size or table width; -1 when the
// text is not a number or lands outside the list.
int TitleSizeIndex(const std::string& stored);
int TitleWidthIndex(const std::string& stored);

// Fills every control from the record. perRowControl is the main window's
// per-row control (not the record's field); fonts are the installed
// Japanese-capable families in the order the system gives them.
OptionForm FillOptionForm(const AlbumSettings& settings, int perRowControl, const std::vector<std::string>& fonts);

// The background picture chosen with Button5: a .jpg or .gif goes into the
// file field; anything else empties it and gives the message to show.
std::optional<Message> TakeBackgroundFile(OptionForm& form, const std::string& chosen);

namespace msg {
inline const Message kBackgroundType{MessageId::BackgroundType};
inline const Message kBadFolderName{MessageId::BadFolderName};
inline const Message kBadFileName{MessageId::BadFileName};
}  // namespace msg

// Tries the thumbnail folder name and the page file name by making them in
// the scratch folder programFolder/temp (made when missing); removes only
// what it made. Names must be single path components. Empty when both are
// fit, else the message to show.
std::optional<Message> CheckOptionNames(const OptionForm& form, const std::string& programFolder);

// Where the main window is now and where it was placed at start-up.
struct WindowPlaces {
  int left = 0, top = 0;
  int startLeft = 0, startTop = 0;
};

// Writes every control into the record in the confirmation's order.
void ApplyOptionForm(const OptionForm& form, const WindowPlaces& places, AlbumSettings& settings);

enum class OptionConfirm { Confirmed, BadName, WriteFailed };
struct OptionConfirmResult {
  OptionConfirm outcome = OptionConfirm::Confirmed;
  Message message;  // what to show when not confirmed
};

// The confirmation: the names are checked and the default settings file is
// written from a copy before the record changes, so a refused or failed
// confirmation leaves the record (and the file) as they were.
OptionConfirmResult ConfirmOptions(const OptionForm& form, const WindowPlaces& places, AlbumSettings& settings,
                                   const MainValues& main);

// The settings check view's rows. A list of "on"/"off" holds -1 for no
// selection; a fill whose text is neither keeps the earlier selection.
struct CheckViewRows {
  std::string currentFolder;        // Edit1 (shown only)
  std::string htmlFileName;         // Edit2
  std::string thumbnailFolderName;  // Edit3
  std::string thumbnailPrefix;      // Edit4
  int clearThumbnailFolder = -1;    // ComboBox1
  int skipExisting = -1;            // ComboBox2
  int thumbnailFilter = -1;         // ComboBox3
  std::string thumbnailWidth;       // Edit8
  std::string thumbnailHeight;      // Edit9
  int makeSlideShow = -1;           // ComboBox4
};

// "on", "off": the lists' fixed entries.
const std::vector<std::string>& OnOffItems();
void FillCheckView(const AlbumSettings& settings, const std::string& currentFolder, CheckViewRows& rows);
// 更新: the rows into the record as typed (no check, no file).
void ApplyCheckView(const CheckViewRows& rows, AlbumSettings& settings);

}  // namespace pictavo
