#include "settings/name_check.h"

#include <sys/stat.h>

#include <algorithm>

#include "comments/comment_file.h"
#include "platform/paths.h"
#include "text/chars.h"

namespace pictavo {

namespace msg {

Message BadNameText(const std::string& field, const std::string& value) {
  return {MessageId::BadSettingName, {field, value}};
}

Message PageIsPictureText(const std::string& value) { return {MessageId::PageIsPicture, {value}}; }

Message LinkNameText(const std::string& field, const std::string& value) {
  return {MessageId::SettingIsLink, {field, value}};
}

Message LinkPathText(const std::string& path) { return {MessageId::PathIsLink, {path}}; }

}  // namespace msg

bool SingleComponent(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

bool IsSymbolicLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::optional<Message> CheckSettingsNames(const AlbumSettings& s) {
  if (!SingleComponent(s.htmlFileName)) return msg::BadNameText("htmlFileName", s.htmlFileName);
  if (!SingleComponent(s.thumbnailFolderName)) return msg::BadNameText("thumbnailFolderName", s.thumbnailFolderName);
  if (s.thumbnailPrefix.find('/') != std::string::npos || s.thumbnailPrefix.find('\0') != std::string::npos) {
    return msg::BadNameText("thumbnailPrefix", s.thumbnailPrefix);
  }
  return {};
}

std::optional<Message> CheckAlbumNames(const AlbumSettings& s, const std::string& albumFolder,
                            const std::vector<std::string_view>& pictureNames) {
  if (std::optional<Message> bad = CheckSettingsNames(s)) return bad;
  // Letter case aside: a page called A.JPG beside a.jpg is no better.
  const std::string page = LowerAscii(s.htmlFileName);
  bool clash = Extension(page) == ".jpg" || page == LowerAscii(kCommentFileName);
  // Compared in place: a folder of a hundred thousand pictures costs no copies.
  const auto samePage = [&page](std::string_view name) {
    return name.size() == page.size() &&
           std::equal(name.begin(), name.end(), page.begin(), [](char a, char b) {
             return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
  };
  clash = clash || std::any_of(pictureNames.begin(), pictureNames.end(), samePage);
  if (clash) return msg::PageIsPictureText(s.htmlFileName);
  if (IsSymbolicLink(albumFolder + s.htmlFileName)) return msg::LinkNameText("htmlFileName", s.htmlFileName);
  if (IsSymbolicLink(albumFolder + s.thumbnailFolderName)) {
    return msg::LinkNameText("thumbnailFolderName", s.thumbnailFolderName);
  }
  if (isOn(s.makeSlideShow) && IsSymbolicLink(albumFolder + "SShow.htm")) return msg::LinkPathText(albumFolder + "SShow.htm");
  return {};
}

std::optional<Message> CheckPageNotLink(const std::string& field, const std::string& value,
                                        const std::string& path) {
  if (IsSymbolicLink(path)) return msg::LinkNameText(field, value);
  return std::nullopt;
}

}  // namespace pictavo
