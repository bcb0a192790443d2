#pragma once
// The one record of user preferences, in settings-file order. Most fields keep
// the text they are stored as; four are integers in memory.

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"
#include "version.h"

namespace pictavo {

// The range of picturesPerRow: the per-row control's, the command line's and
// the options dialog's, which the album run enforces too.
inline constexpr int kMinPicturesPerRow = 1;
inline constexpr int kMaxPicturesPerRow = 10;

struct AlbumSettings {
  std::string startFolder;
  int32_t backgroundColor = 16777215;
  std::string backgroundPattern;
  std::string backgroundFile;
  std::string browserPath;
  std::string externalViewerPath;
  std::string displayLeft;
  std::string displayTop;
  int32_t rotationQuality = 95;
  std::string rotationBackup = "on";
  std::string titleFontSize = "7";
  std::string titleFontColor = "0";
  std::string titleFontFace = "ＭＳ Ｐ明朝";
  std::string titleTableWidth = "標準";
  std::string titleBackgroundColor = "16777215";
  std::string titleItalic = "off";
  std::string titleBold = "off";
  std::string thumbnailWidth = "110";
  std::string thumbnailHeight = "150";
  std::string openInSubWindow = "off";
  std::string scriptPopup = "off";
  std::string makeSlideShow = "off";
  std::string slideShowInterval = "3";
  std::string thumbnailQuality = "80";
  std::string thumbnailFilter = "off";
  std::string noBrowserPrompt = "off";
  std::string htmlFileName = "index.htm";
  std::string thumbnailFolderName = "htm_image";
  std::string titleFontSpecified = "on";
  std::string defaultHeader = "on";
  std::string headerComment;
  std::string defaultFooter = "on";
  std::string footerComment;
  std::string footerLink = "off";
  std::string footerLinkUrl;
  std::string titleUseTable = "on";
  std::string thumbnailPrefix;
  std::string skipExistingThumbnails = "off";
  std::string tableBorder = "1";
  std::string slideShowLimit = "off";
  std::string slideShowMaxX = "1000";
  std::string slideShowMaxY = "750";
  std::string pictureFrame = "on";
  int16_t picturesPerRow = 5;
  std::string clearThumbnailFolder = "off";
  std::string autoSaveSettings = "off";
  std::string titleTableBorder = "1";
  int32_t textColor = 0;

  bool operator==(const AlbumSettings&) const = default;
};

// Assigns every default.
void ResetSettings(AlbumSettings& s);

// Switch tests: isOn is true only for exactly "on"; isNotOff for anything but "off".
inline bool isOn(const std::string& v) { return v == "on"; }
inline bool isNotOff(const std::string& v) { return v != "off"; }

inline constexpr size_t kSettingFieldCount = 48;

// How a field is held in memory.
enum class SettingKind { Text, Int32, Int16 };

// How the readers of the settings file treat a field's value line.
enum class SettingRead {
  Stepped,      // start-up applies it with the lines of its version; the load command applies it
  Late,         // start-up applies it after every version's lines; the load command applies it
  StartOnly,    // start-up applies it after every version's lines; the load command keeps the field
  WindowPlace,  // the main window's place: start-up hands it back, the record never takes it from a file
};

// One field of the record: everything the settings file, the command line
// and the field access by name need to know about it. The table below is
// the only place the file's layout is spelled out.
struct SettingField {
  const char* name;   // the member's name, as the command line spells it
  const char* key;    // its key line in the settings file, "[...]"
  const char* since;  // the file version that added its two lines
  SettingRead read;
  std::string AlbumSettings::*text = nullptr;  // exactly one of the three is set
  int32_t AlbumSettings::*int32 = nullptr;
  int16_t AlbumSettings::*int16 = nullptr;

  SettingKind kind() const { return text ? SettingKind::Text : int32 ? SettingKind::Int32 : SettingKind::Int16; }
  // The value as stored text.
  std::string get(const AlbumSettings& s) const;
  // False for an integer field given text that is not a decimal integer of its size.
  bool set(AlbumSettings& s, const std::string& value) const;
};

// Every field in settings-file order: field k is held on lines 2k+1 (key)
// and 2k+2 (value).
const std::array<SettingField, kSettingFieldCount>& SettingFields();
// The field of that name; nullptr for an unknown name.
const SettingField* FindSettingField(const std::string& name);

// The field names in settings-file order (48 of them).
const std::vector<std::string>& SettingsFieldNames();
// The field's value as stored text; nullopt for an unknown name.
std::optional<std::string> GetSettingText(const AlbumSettings& s, const std::string& field);
// Sets a field from text. Integer fields need a decimal integer (16 bits for
// picturesPerRow); the caller words a refusal.
enum class SettingTextResult { Set, UnknownField, NotAnInteger };
[[nodiscard]] SettingTextResult SetSettingText(AlbumSettings& s, const std::string& field, const std::string& value);

// The values the main window holds beside the record; none is stored.
struct MainValues {
  std::string programVersion = kProgramVersion;
  std::string programFolder;
  std::string currentFolder;
  std::string albumTitle;
  bool addComments = false;
  int32_t commentColor = 0;
  bool previewOn = true;
  std::string folderSettingsPath;
  bool loadWithoutAsking = false;
  bool batchRunning = false;
};

// The product's home page, named in the pages' credit lines.
inline constexpr const char* kHomePageUrl = "https://pictavo.example.org/";

// The message for a numeric setting that is not a decimal integer.
Message BadSettingText(const std::string& field, const std::string& value);
// The message for a numeric setting outside the values a command can use.
Message SettingOutOfRangeText(const std::string& field, const std::string& value, int lowest, int highest = INT_MAX);

}  // namespace pictavo
