#include "settings/name_check.h"

#include <sys/stat.h>

#include <algorithm>

#include "comments/comment_file.h"
#include "platform/paths.h"
#include "text/chars.h"

namespace pictavo {

namespace msg {

std::string BadNameText(const std::string& field, const std::string& value) {
  return "設定 " + field + " の値「" + value + "」はファイル名として使えません。\r処理は中断されました。";
}

std::string PageIsPictureText(const std::string& value) {
  return "設定 htmlFileName の値「" + value + "」はフォルダの画像またはコメントファイルの名前です。\r処理は中断されました。";
}

std::string LinkNameText(const std::string& field, const std::string& value) {
  return "設定 " + field + " の値「" + value + "」はシンボリックリンクです。\r処理は中断されました。";
}

std::string LinkPathText(const std::string& path) {
  return "「" + path + "」はシンボリックリンクです。\r処理は中断されました。";
}

}  // namespace msg

bool SingleComponent(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

bool IsSymbolicLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string CheckSettingsNames(const AlbumSettings& s) {
  if (!SingleComponent(s.htmlFileName)) return msg::BadNameText("htmlFileName", s.htmlFileName);
  if (!SingleComponent(s.thumbnailFolderName)) return msg::BadNameText("thumbnailFolderName", s.thumbnailFolderName);
  if (s.thumbnailPrefix.find('/') != std::string::npos || s.thumbnailPrefix.find('\0') != std::string::npos) {
    return msg::BadNameText("thumbnailPrefix", s.thumbnailPrefix);
  }
  return {};
}

std::string CheckAlbumNames(const AlbumSettings& s, const std::string& albumFolder,
                            const std::vector<std::string_view>& pictureNames) {
  if (std::string bad = CheckSettingsNames(s); !bad.empty()) return bad;
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

std::string CheckPageNotLink(const std::string& field, const std::string& value, const std::string& path) {
  return IsSymbolicLink(path) ? msg::LinkNameText(field, value) : std::string();
}

}  // namespace pictavo
