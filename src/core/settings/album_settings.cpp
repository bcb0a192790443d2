#include "settings/album_settings.h"

#include <limits>

#include "text/chars.h"

namespace pictavo {

void ResetSettings(AlbumSettings& s) { s = AlbumSettings{}; }

namespace {

#define TEXT(n, key, since, read) \
  SettingField { #n, key, since, SettingRead::read, &AlbumSettings::n, nullptr, nullptr }
#define INT32(n, key, since, read) \
  SettingField { #n, key, since, SettingRead::read, nullptr, &AlbumSettings::n, nullptr }
#define INT16(n, key, since, read) \
  SettingField { #n, key, since, SettingRead::read, nullptr, nullptr, &AlbumSettings::n }

// The settings file's layout: one row per field, in file order. Lines 2 to
// 20 are the oldest and are applied last at start-up; the position of the
// main window (lines 14 and 16) only places the window.
constexpr std::array<SettingField, kSettingFieldCount> kFields = {{
    TEXT(startFolder, "[起動フォルダ]", "0.9", StartOnly),
    INT32(backgroundColor, "[背景色]", "0.9", Late),
    TEXT(backgroundPattern, "[背景パターン設定]", "0.9", Late),
    TEXT(backgroundFile, "[背景ファイル]", "0.9", Late),
    TEXT(browserPath, "[ブラウザ設定]", "0.9", Late),
    TEXT(externalViewerPath, "[外部ビュアー設定]", "0.9", Late),
    TEXT(displayLeft, "[表示水平位置]", "0.9", WindowPlace),
    TEXT(displayTop, "[表示垂直位置]", "0.9", WindowPlace),
    INT32(rotationQuality, "[画像回転圧縮率]", "0.9", Late),
    TEXT(rotationBackup, "[画像回転バックアップ]", "0.9", Late),
    TEXT(titleFontSize, "[タイトル文字サイズ]", "0.9", Stepped),
    TEXT(titleFontColor, "[タイトル文字色]", "0.9", Stepped),
    TEXT(titleFontFace, "[タイトルフォント]", "0.9", Stepped),
    TEXT(titleTableWidth, "[タイトルテーブル幅]", "0.9", Stepped),
    TEXT(titleBackgroundColor, "[タイトル背景色]", "0.9", Stepped),
    TEXT(titleItalic, "[タイトル斜体文字]", "0.9", Stepped),
    TEXT(titleBold, "[タイトル太文字]", "0.9", Stepped),
    TEXT(thumbnailWidth, "[サムネイル幅]", "1.1", Stepped),
    TEXT(thumbnailHeight, "[サムネイル高さ]", "1.1", Stepped),
    TEXT(openInSubWindow, "[ブラウザ別起動]", "1.1", Stepped),
    TEXT(scriptPopup, "[javaでウインドウを開く]", "1.1", Stepped),
    TEXT(makeSlideShow, "[スライドショウのHTMLを作成]", "1.1", Stepped),
    TEXT(slideShowInterval, "[スライドショウの間隔]", "1.1", Stepped),
    TEXT(thumbnailQuality, "[サムネイル画像の圧縮率]", "1.3", Stepped),
    TEXT(thumbnailFilter, "[サムネイル画像のフィルタ]", "1.3", Stepped),
    TEXT(noBrowserPrompt, "[ブラウザ起動チェック]", "1.3", Stepped),
    TEXT(htmlFileName, "[HTMLファイル名]", "1.31", Stepped),
    TEXT(thumbnailFolderName, "[サムネイル画像フォルダ名]", "1.31", Stepped),
    TEXT(titleFontSpecified, "[タイトルのフォントを指定する]", "1.32", Stepped),
    TEXT(defaultHeader, "[ヘッダーを書き換える]", "1.32", Stepped),
    TEXT(headerComment, "[ヘッダーのコメント]", "1.32", Stepped),
    TEXT(defaultFooter, "[フッターを書き換える]", "1.32", Stepped),
    TEXT(footerComment, "[フッターのコメント]", "1.32", Stepped),
    TEXT(footerLink, "[フッターでlinkする]", "1.32", Stepped),
    TEXT(footerLinkUrl, "[フッターのlinkのURL]", "1.32", Stepped),
    TEXT(titleUseTable, "[タイトルにテーブルを使用する]", "1.32", Stepped),
    TEXT(thumbnailPrefix, "[サムネイル画像に付加する文字列]", "1.55", Stepped),
    TEXT(skipExistingThumbnails, "[サムネイル画像の有無確認]", "1.55", Stepped),
    TEXT(tableBorder, "[テーブルの幅]", "1.55", Stepped),
    TEXT(slideShowLimit, "[スライドショウの最大値を指定]", "1.6", Stepped),
    TEXT(slideShowMaxX, "[スライドショウの最大値Ｘ]", "1.6", Stepped),
    TEXT(slideShowMaxY, "[スライドショウの最大値Ｙ]", "1.6", Stepped),
    TEXT(pictureFrame, "[画像の枠表示]", "2", Stepped),
    INT16(picturesPerRow, "[１行の枚数]", "2", Stepped),
    TEXT(clearThumbnailFolder, "[ｻﾑﾈｲﾙ画像のﾌｫﾙﾀﾞをｸﾘｱ]", "2", Stepped),
    TEXT(autoSaveSettings, "[設定ファイルを自動保存]", "2", Stepped),
    TEXT(titleTableBorder, "[タイトルのテーブル幅]", "2", Stepped),
    INT32(textColor, "[テキストの色]", "2.02", Stepped),
}};

#undef TEXT
#undef INT32
#undef INT16

constexpr bool EveryRowFilled() {
  for (const SettingField& f : kFields) {
    if (!f.name || !f.key || !f.since || (!f.text && !f.int32 && !f.int16)) return false;
  }
  return true;
}
static_assert(EveryRowFilled(), "a settings field without its name, key, version or member");

}  // namespace

const std::array<SettingField, kSettingFieldCount>& SettingFields() { return kFields; }

const SettingField* FindSettingField(const std::string& name) {
  for (const auto& f : kFields) {
    if (name == f.name) return &f;
  }
  return nullptr;
}

std::string SettingField::get(const AlbumSettings& s) const {
  if (text) return s.*text;
  if (int32) return std::to_string(s.*int32);
  return std::to_string(s.*int16);
}

bool SettingField::set(AlbumSettings& s, const std::string& value) const {
  if (text) {
    s.*text = value;
    return true;
  }
  const auto parsed = ParseDecimal(value);
  if (!parsed ||
      (int16 && (*parsed < std::numeric_limits<int16_t>::min() || *parsed > std::numeric_limits<int16_t>::max()))) {
    return false;
  }
  if (int32) {
    s.*int32 = *parsed;
  } else {
    s.*int16 = static_cast<int16_t>(*parsed);
  }
  return true;
}

const std::vector<std::string>& SettingsFieldNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (const auto& f : kFields) out.emplace_back(f.name);
    return out;
  }();
  return names;
}

std::optional<std::string> GetSettingText(const AlbumSettings& s, const std::string& field) {
  const SettingField* f = FindSettingField(field);
  if (!f) return std::nullopt;
  return f->get(s);
}

SettingTextResult SetSettingText(AlbumSettings& s, const std::string& field, const std::string& value) {
  const SettingField* f = FindSettingField(field);
  if (!f) return SettingTextResult::UnknownField;
  return f->set(s, value) ? SettingTextResult::Set : SettingTextResult::NotAnInteger;
}

Message BadSettingText(const std::string& field, const std::string& value) {
  return {MessageId::BadSetting, {field, value}};
}

Message SettingOutOfRangeText(const std::string& field, const std::string& value, int lowest, int highest) {
  if (highest == INT_MAX) return {MessageId::SettingOutOfRange, {field, value, std::to_string(lowest)}};
  return {MessageId::SettingOutOfRangeBetween, {field, value, std::to_string(lowest), std::to_string(highest)}};
}

}  // namespace pictavo
