#pragma once
// Names from the settings become paths inside an album folder. A settings
// file may come with an album from anyone, so every command that writes
// checks them where it uses them, before it writes or deletes anything.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/album_settings.h"

namespace pictavo {

// A single, non-empty path component: no "/", not "." or "..".
bool SingleComponent(const std::string& name);

// htmlFileName and thumbnailFolderName must be single, non-empty path
// components (no "/", not "." or ".."); thumbnailPrefix may hold no "/".
// Returns the message for the first bad field, empty when all are fit.
std::optional<Message> CheckSettingsNames(const AlbumSettings& s);

// What the album run adds for its folder (with a trailing "/"): the page may
// not be one of the pictures (a list entry or any ".jpg" file) nor the comment
// file, and neither the page, the slide-show page nor the thumbnail folder may
// be a symbolic link (writing through it would land outside the album).
std::optional<Message> CheckAlbumNames(const AlbumSettings& s, const std::string& albumFolder,
                            const std::vector<std::string_view>& pictureNames);

// The table of contents' page (and "title.htm") in its folder may not be links.
std::optional<Message> CheckPageNotLink(const std::string& field, const std::string& value, const std::string& path);

// True when path itself is a symbolic link (it is not followed).
bool IsSymbolicLink(const std::string& path);

namespace msg {
Message BadNameText(const std::string& field, const std::string& value);
Message PageIsPictureText(const std::string& value);
Message LinkNameText(const std::string& field, const std::string& value);
Message LinkPathText(const std::string& path);
}  // namespace msg

}  // namespace pictavo
