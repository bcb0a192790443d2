#include "platform/private_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/error.h"

namespace pictavo {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

bool Absolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string ModeText(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

// A folder that may be missing: made with mode 0700, EEXIST accepted.
bool MakeFolder(const std::string& path, std::string& error) {
  if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return true;
  error = SystemErrorText(path, errno);
  return false;
}

}  // namespace

PrivateFolderEnvironment PrivateFolderEnvironmentOfProcess() {
  return {Env("XDG_RUNTIME_DIR"), Env("XDG_CACHE_HOME"), Env("HOME")};
}

std::string PrivateFolderTrouble(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return SystemErrorText(path, errno);
  if (S_ISLNK(st.st_mode)) return path + ": is a symbolic link";
  if (!S_ISDIR(st.st_mode)) return path + ": is not a folder";
  if (st.st_uid != ::geteuid()) return path + ": belongs to another user";
  if ((st.st_mode & 07777) != 0700) return path + ": mode " + ModeText(st.st_mode) + ", not 0700";
  return {};
}

bool ChoosePrivateFolder(const PrivateFolderEnvironment& env, std::string& folder, std::string& error) {
  if (Absolute(env.runtimeDir) && PrivateFolderTrouble(env.runtimeDir).empty()) {
    folder = env.runtimeDir;
    return true;
  }
  std::string cache = Absolute(env.cacheHome) ? env.cacheHome : "";
  if (cache.empty()) {
    if (!Absolute(env.home)) {
      error = "no private folder: neither XDG_RUNTIME_DIR, XDG_CACHE_HOME nor HOME is usable";
      return false;
    }
    cache = env.home + (env.home.back() == '/' ? "" : "/") + ".cache";
  }
  if (!MakeFolder(cache, error)) return false;
  struct stat st {};
  if (::stat(cache.c_str(), &st) != 0) {
    error = SystemErrorText(cache, errno);
    return false;
  }
  if (st.st_uid != ::geteuid()) {
    error = cache + ": belongs to another user";
    return false;
  }
  const std::string own = cache + (cache.back() == '/' ? "" : "/") + "pictavo-" + std::to_string(::geteuid());
  if (!MakeFolder(own, error)) return false;
  // Our own folder with a wider mode (an older umask, a copy) is narrowed,
  // through a descriptor that cannot have followed a link.
  const int fd = ::open(own.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    if (::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 07777) != 0700) (void)::fchmod(fd, 0700);
    ::close(fd);
  }
  error = PrivateFolderTrouble(own);
  if (!error.empty()) return false;
  folder = own;
  return true;
}

}  // namespace pictavo
