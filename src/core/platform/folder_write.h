#pragma once
// The one rule for a file the program writes into a picture folder. Picture
// folders come from others (a stick, an archive, a download), and a symbolic
// link in one may lead anywhere: a link at a name the program writes is
// followed only when its target lies inside that same folder and is not a
// file the command reads as its source. Anything else is refused before a
// byte is written. The program folder, PCV.ini and files the user names are
// not picture folders: their links are followed as before (see sink.h).

#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"

namespace pictavo {

// The real path of `path` with every link followed. A last component that
// does not exist (yet) is kept after the real path of its folder, so a file
// about to be made has a location too. Empty when it cannot be resolved:
// links in a circle, a folder that does not exist.
std::string RealLocation(const std::string& path);

// True when `path`, its links followed, lies below `folder` (real paths
// compared; the folder itself is not inside itself).
bool LiesInside(const std::string& folder, const std::string& path);

// True when `name` in `folder` is a symbolic link that does not lead inside
// the folder (outside, nowhere that resolves, or round in a circle).
bool LinkLeadsOutside(const std::string& folder, const std::string& name);

struct [[nodiscard]] FolderWrite {
  std::string path;            // where to write: folder/name, or the target a link there leads to
  std::optional<Error> error;  // the refusal; its message names the file
  explicit operator bool() const { return !error; }
};

// Where a command writes `name` (a single component) into the picture folder
// `folder`. No link at that name: folder/name itself. A link: the real path
// of its target when that lies inside `folder` and is none of `sources` (the
// files the command reads; compared as files, so another name of the same
// file counts), else an Error that names the file. Nothing is written here.
FolderWrite FolderWritePath(const std::string& folder, const std::string& name,
                            const std::vector<std::string>& sources = {});

namespace msg {
Message LinkLeadsOutsideText(const std::string& path);
Message LinkLeadsToSourceText(const std::string& path);
}  // namespace msg

}  // namespace pictavo
