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
Status MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return {};
  return SystemFailure(ErrorCode::CannotWrite, path, errno);
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

Status ChoosePrivateFolder(const PrivateFolderEnvironment& env, std::string& folder) {
  if (Absolute(env.runtimeDir) && PrivateFolderTrouble(env.runtimeDir).empty()) {
    folder = env.runtimeDir;
    return {};
  }
  std::string cache = Absolute(env.cacheHome) ? env.cacheHome : "";
  if (cache.empty()) {
    if (!Absolute(env.home)) {
      return Status::Failure(ErrorCode::NotFound,
                             "no private folder: neither XDG_RUNTIME_DIR, XDG_CACHE_HOME nor HOME is usable");
    }
    cache = env.home + (env.home.back() == '/' ? "" : "/") + ".cache";
  }
  if (Status made = MakeFolder(cache); !made.ok()) return made;
  struct stat st {};
  if (::stat(cache.c_str(), &st) != 0) return SystemFailure(ErrorCode::CannotWrite, cache, errno);
  if (st.st_uid != ::geteuid()) return Status::Failure(ErrorCode::CannotWrite, cache + ": belongs to another user");
  const std::string own = cache + (cache.back() == '/' ? "" : "/") + "pictavo-" + std::to_string(::geteuid());
  if (Status made = MakeFolder(own); !made.ok()) return made;
  // Our own folder with a wider mode (an older umask, a copy) is narrowed,
  // through a descriptor that cannot have followed a link.
  const int fd = ::open(own.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    if (::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 07777) != 0700) (void)::fchmod(fd, 0700);
    ::close(fd);
  }
  if (std::string trouble = PrivateFolderTrouble(own); !trouble.empty()) {
    return Status::Failure(ErrorCode::CannotWrite, std::move(trouble));
  }
  folder = own;
  return {};
}

}  // namespace pictavo
