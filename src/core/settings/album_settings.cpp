#include "settings/album_settings.h"

#include <limits>

#include "text/chars.h"

namespace pictavo {

void ResetSettings(AlbumSettings& s) { s = AlbumSettings{}; }

namespace {

struct FieldRef {
  const char* name;
  std::string AlbumSettings::*text = nullptr;
  int32_t AlbumSettings::*int32 = nullptr;
  int16_t AlbumSettings::*int16 = nullptr;
};

#define TEXT_FIELD(n) FieldRef{#n, &AlbumSettings::n, nullptr, nullptr}
#define INT_FIELD(n) FieldRef{#n, nullptr, &AlbumSettings::n, nullptr}

const std::vector<FieldRef>& Fields() {
  static const std::vector<FieldRef> fields = {
      TEXT_FIELD(startFolder),          INT_FIELD(backgroundColor),       TEXT_FIELD(backgroundPattern),
      TEXT_FIELD(backgroundFile),       TEXT_FIELD(browserPath),          TEXT_FIELD(externalViewerPath),
      TEXT_FIELD(displayLeft),          TEXT_FIELD(displayTop),           INT_FIELD(rotationQuality),
      TEXT_FIELD(rotationBackup),       TEXT_FIELD(titleFontSize),        TEXT_FIELD(titleFontColor),
      TEXT_FIELD(titleFontFace),        TEXT_FIELD(titleTableWidth),      TEXT_FIELD(titleBackgroundColor),
      TEXT_FIELD(titleItalic),          TEXT_FIELD(titleBold),            TEXT_FIELD(thumbnailWidth),
      TEXT_FIELD(thumbnailHeight),      TEXT_FIELD(openInSubWindow),      TEXT_FIELD(scriptPopup),
      TEXT_FIELD(makeSlideShow),        TEXT_FIELD(slideShowInterval),    TEXT_FIELD(thumbnailQuality),
      TEXT_FIELD(thumbnailFilter),      TEXT_FIELD(noBrowserPrompt),      TEXT_FIELD(htmlFileName),
      TEXT_FIELD(thumbnailFolderName),  TEXT_FIELD(titleFontSpecified),   TEXT_FIELD(defaultHeader),
      TEXT_FIELD(headerComment),        TEXT_FIELD(defaultFooter),        TEXT_FIELD(footerComment),
      TEXT_FIELD(footerLink),           TEXT_FIELD(footerLinkUrl),        TEXT_FIELD(titleUseTable),
      TEXT_FIELD(thumbnailPrefix),      TEXT_FIELD(skipExistingThumbnails), TEXT_FIELD(tableBorder),
      TEXT_FIELD(slideShowLimit),       TEXT_FIELD(slideShowMaxX),        TEXT_FIELD(slideShowMaxY),
      TEXT_FIELD(pictureFrame),         FieldRef{"picturesPerRow", nullptr, nullptr, &AlbumSettings::picturesPerRow},
      TEXT_FIELD(clearThumbnailFolder), TEXT_FIELD(autoSaveSettings),     TEXT_FIELD(titleTableBorder),
      INT_FIELD(textColor),
  };
  return fields;
}

#undef TEXT_FIELD
#undef INT_FIELD

const FieldRef* Find(const std::string& name) {
  for (const auto& f : Fields()) {
    if (name == f.name) return &f;
  }
  return nullptr;
}

}  // namespace

const std::vector<std::string>& SettingsFieldNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (const auto& f : Fields()) out.emplace_back(f.name);
    return out;
  }();
  return names;
}

std::optional<std::string> GetSettingText(const AlbumSettings& s, const std::string& field) {
  const FieldRef* f = Find(field);
  if (!f) return std::nullopt;
  if (f->text) return s.*(f->text);
  if (f->int32) return std::to_string(s.*(f->int32));
  return std::to_string(s.*(f->int16));
}

bool SetSettingText(AlbumSettings& s, const std::string& field, const std::string& value, std::string& error) {
  const FieldRef* f = Find(field);
  if (!f) {
    error = "unknown settings field: " + field;
    return false;
  }
  if (f->text) {
    s.*(f->text) = value;
    return true;
  }
  const auto parsed = ParseDecimal(value);
  if (!parsed || (f->int16 && (*parsed < std::numeric_limits<int16_t>::min() ||
                               *parsed > std::numeric_limits<int16_t>::max()))) {
    error = "'" + value + "' is not a valid integer for " + field;
    return false;
  }
  if (f->int32) {
    s.*(f->int32) = *parsed;
  } else {
    s.*(f->int16) = static_cast<int16_t>(*parsed);
  }
  return true;
}

Message BadSettingText(const std::string& field, const std::string& value) {
  return {MessageId::BadSetting, {field, value}};
}

Message SettingOutOfRangeText(const std::string& field, const std::string& value, int lowest, int highest) {
  if (highest == INT_MAX) return {MessageId::SettingOutOfRange, {field, value, std::to_string(lowest)}};
  return {MessageId::SettingOutOfRangeBetween, {field, value, std::to_string(lowest), std::to_string(highest)}};
}

}  // namespace pictavo
