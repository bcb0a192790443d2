#include "platform/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/error.h"
#include "text/chars.h"
#include "text/encoding.h"

namespace pictavo {

std::string FolderBase(std::string_view folder) {
  std::string out(folder);
  if (out.empty() || out.back() != '/') out += '/';
  return out;
}

std::string LastComponent(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return std::string(path);
  return std::string(path.substr(slash + 1));
}

std::string ParentFolder(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return std::string(path);
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string Extension(std::string_view name) {
  const auto dot = name.rfind('.');
  const auto slash = name.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return std::string(name.substr(dot));
}

bool CaseInsensitiveLess(const std::string& a, const std::string& b) {
  const std::string la = LowerAscii(a), lb = LowerAscii(b);
  if (la != lb) return la < lb;
  return a < b;
}

std::string AbsolutePath(std::string_view path) {
  std::string full;
  if (!path.empty() && path.front() == '/') {
    full = std::string(path);
  } else {
    char* cwd = ::getcwd(nullptr, 0);
    full = cwd ? std::string(cwd) : std::string("/");
    std::free(cwd);
    full = FolderBase(full) + std::string(path);
  }
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= full.size()) {
    const size_t j = std::min(full.find('/', i), full.size());
    const std::string part = full.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string out;
  for (const auto& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

namespace {

Listing ListEntries(const std::string& folder, bool wantFolders) {
  Listing out;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    out.ok = false;
    out.error = SystemErrorText(folder, errno);
    return out;
  }
  const std::string base = FolderBase(folder);
  while (dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.empty() || name[0] == '.') continue;
    struct stat st {};
    if (::stat((base + name).c_str(), &st) != 0) continue;
    const bool match = wantFolders ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
    if (!match) continue;
    if (!IsValidUtf8(name)) {
      out.skipped.push_back(name);
      continue;
    }
    out.names.push_back(name);
  }
  ::closedir(dir);
  std::sort(out.names.begin(), out.names.end(), CaseInsensitiveLess);
  return out;
}

}  // namespace

Listing ListFiles(const std::string& folder) { return ListEntries(folder, false); }
Listing ListFolders(const std::string& folder) { return ListEntries(folder, true); }

Status DeleteRegularFiles(const std::string& folder) {
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) return SystemFailure(ErrorCode::CannotWrite, folder, errno);
  const Listing files = ListFiles(folder);
  if (!files.ok) {
    ::close(dir);
    return Status::Failure(ErrorCode::CannotWrite, files.error);
  }
  for (const auto& name : files.names) {
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      ::unlinkat(dir, name.c_str(), 0);
    }
  }
  ::close(dir);
  return {};
}

std::string DefaultProgramFolder() {
  if (const char* home = std::getenv("PICTAVO_HOME"); home && *home) return home;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return FolderBase(xdg) + "pictavo";
  const char* home = std::getenv("HOME");
  return FolderBase(home && *home ? home : "/") + ".config/pictavo";
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return "/";
  const std::string folder = AbsolutePath(home);
  return FolderExists(folder) ? folder : "/";
}

bool MakeFolders(const std::string& path) {
  if (FolderExists(path)) return true;
  const std::string parent = ParentFolder(path);
  if (parent != path && !parent.empty() && !FolderExists(parent)) MakeFolders(parent);
  ::mkdir(path.c_str(), 0777);
  return FolderExists(path);
}

}  // namespace pictavo
