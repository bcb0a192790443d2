#include "platform/folder_write.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/paths.h"
#include "platform/sink.h"

namespace pictavo {

namespace msg {

Message LinkLeadsOutsideText(const std::string& path) { return {MessageId::LinkLeadsOutside, {path}}; }

Message LinkLeadsToSourceText(const std::string& path) { return {MessageId::LinkLeadsToSource, {path}}; }

}  // namespace msg

namespace {

std::string RealPathOf(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return {};
  std::string out(real);
  std::free(real);
  return out;
}

bool IsLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// What the link says, for the detail line.
std::string LinkText(const std::string& path) {
  char buf[4096];
  const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

bool SameFile(const struct stat& a, const std::string& path) {
  struct stat b {};
  return ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

std::string RealLocation(const std::string& path) {
  if (std::string real = RealPathOf(path); !real.empty()) return real;
  if (errno != ENOENT) return {};
  // The chain ends at a name that does not exist: its folder must.
  const std::string end = FollowLinks(path);
  struct stat st {};
  if (::lstat(end.c_str(), &st) == 0) return {};  // links in a circle
  const std::string name = LastComponent(end);
  if (name.empty() || name == "." || name == "..") return {};
  const std::string parent = RealPathOf(end.find('/') == std::string::npos ? "." : ParentFolder(end));
  return parent.empty() ? std::string() : FolderBase(parent) + name;
}

bool LiesInside(const std::string& folder, const std::string& path) {
  const std::string root = RealPathOf(folder);
  const std::string location = RealLocation(path);
  if (root.empty() || location.empty()) return false;
  const std::string base = FolderBase(root);
  return location.size() > base.size() && location.compare(0, base.size(), base) == 0;
}

bool LinkLeadsOutside(const std::string& folder, const std::string& name) {
  const std::string path = FolderBase(folder) + name;
  return IsLink(path) && !LiesInside(folder, path);
}

FolderWrite FolderWritePath(const std::string& folder, const std::string& name,
                            const std::vector<std::string>& sources) {
  const std::string path = FolderBase(folder) + name;
  if (!IsLink(path)) return {path, std::nullopt};
  const std::string detail = path + " -> " + LinkText(path);
  if (!LiesInside(folder, path)) {
    return {path, Error{ErrorCode::CannotWrite, msg::LinkLeadsOutsideText(path), detail}};
  }
  const std::string target = RealLocation(path);
  // Writing over what the command reads would destroy it before it is read
  // (or, for a conversion, the very file converted).
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    for (const auto& source : sources) {
      if (SameFile(st, source)) return {path, Error{ErrorCode::CannotWrite, msg::LinkLeadsToSourceText(path), detail}};
    }
  }
  return {target, std::nullopt};
}

}  // namespace pictavo
