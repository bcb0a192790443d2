#pragma once
// Folder and file-name helpers in the program's Linux form: "/" separators,
// case-insensitive order by ASCII letters.

#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

namespace pictavo {

// Appends "/" unless the path already ends with one ("/" stays "/").
std::string FolderBase(std::string_view folder);
// The text after the last "/"; empty for "/".
std::string LastComponent(std::string_view path);
// The text before the last "/"; "/x" gives "/", "/" stays "/".
std::string ParentFolder(std::string_view path);
// The extension with its dot ("a.JPG" gives ".JPG"); empty when none.
std::string Extension(std::string_view name);
// Name order used by lists: ASCII letters lower-cased, ties by the names as they are.
bool CaseInsensitiveLess(const std::string& a, const std::string& b);
// Absolute path with "." and ".." resolved textually; missing components stay.
std::string AbsolutePath(std::string_view path);

bool FileExists(const std::string& path);    // a regular file (or symlink to one)
bool FolderExists(const std::string& path);
bool PathExists(const std::string& path);

struct Listing {
  std::vector<std::string> names;    // in the order asked for
  std::vector<std::string> skipped;  // names that are not valid UTF-8, passed over
  bool ok = true;
  std::string error;
};

// Regular files (symlinks to regular files count) that are not hidden, in
// case-insensitive name order.
Listing ListFiles(const std::string& folder);
// Sub-folders that are not hidden, in case-insensitive name order.
Listing ListFolders(const std::string& folder);

// Deletes the regular files that ListFiles lists in folder, never through a
// symbolic link: a folder that is itself a link fails (CannotWrite), and a
// link inside it is left alone. A deletion that fails is passed over.
Status DeleteRegularFiles(const std::string& folder);

// The program folder: $PICTAVO_HOME, else $XDG_CONFIG_HOME/pictavo, else
// ~/.config/pictavo. Not created here.
std::string DefaultProgramFolder();
// The user's home folder ($HOME, made absolute); "/" when that is no folder.
std::string HomeFolder();
// Creates the folder and its parents; false when it does not exist afterwards.
bool MakeFolders(const std::string& path);

}  // namespace pictavo
