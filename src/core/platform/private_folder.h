#pragma once
// The folder for what only the user may reach (the instance guard's socket
// and its lock). A fixed name in a folder others can write could be taken
// by another user first, who would then receive our hand-overs or hold a
// lock we cannot remove; so the folder is the user's own, checked before use.

#include <string>

#include "platform/error.h"

namespace pictavo {

// The environment the choice depends on, read once from the process.
struct PrivateFolderEnvironment {
  std::string runtimeDir;  // $XDG_RUNTIME_DIR
  std::string cacheHome;   // $XDG_CACHE_HOME
  std::string home;        // $HOME
};
PrivateFolderEnvironment PrivateFolderEnvironmentOfProcess();

// Why `path` may not hold private files: it must be a folder (not a
// symbolic link) owned by this user with mode 0700. Empty when it may.
std::string PrivateFolderTrouble(const std::string& path);

// $XDG_RUNTIME_DIR when it is set, absolute and passes the check above;
// otherwise "pictavo-<uid>" in the user's cache folder ($XDG_CACHE_HOME when
// absolute, else $HOME/.cache, created when missing and required to be the
// user's own), made with mode 0700 when missing, narrowed to 0700 when it is
// the user's own folder with a wider mode, and checked. A failure names the
// folder and the reason when there is none to be had (NotFound when the
// environment offers no place at all, else CannotWrite): the caller then
// goes without, never to a shared folder.
Status ChoosePrivateFolder(const PrivateFolderEnvironment& env, std::string& folder);

}  // namespace pictavo
