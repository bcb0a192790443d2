#include "platform/sink.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/error.h"
#include "platform/paths.h"

namespace pictavo {

std::string SystemErrorText(const std::string& path, int errnum) {
  return path + ": " + std::strerror(errnum);
}

Status SystemFailure(ErrorCode otherwise, const std::string& path, int errnum) {
  return Status::Failure(errnum == ENOENT ? ErrorCode::NotFound : otherwise, SystemErrorText(path, errnum));
}

namespace {

bool WriteAll(int fd, std::string_view bytes, int& err) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

// Buffers writes; the pages are written line by line.
class FdSink : public ByteSink {
 public:
  FdSink(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) { m_buffer.reserve(kBufferSize); }
  ~FdSink() override {
    if (m_fd >= 0) ::close(m_fd);
  }
  bool write(std::string_view bytes) override {
    if (m_fd < 0) return fail(EBADF);
    if (m_buffer.size() + bytes.size() > kBufferSize && !flush()) return false;
    if (bytes.size() >= kBufferSize) {
      int err = 0;
      if (!WriteAll(m_fd, bytes, err)) return fail(err);
      return true;
    }
    m_buffer.append(bytes);
    return true;
  }
  bool close() override {
    if (m_fd < 0) return m_error.empty();
    bool ok = flush();
    if (ok && m_sync && ::fsync(m_fd) != 0) ok = fail(errno);
    if (::close(m_fd) != 0 && ok) ok = fail(errno);
    m_fd = -1;
    return ok;
  }
  const std::string& error() const override { return m_error; }

 protected:
  bool flush() {
    int err = 0;
    if (!m_buffer.empty() && !WriteAll(m_fd, m_buffer, err)) return fail(err);
    m_buffer.clear();
    return true;
  }
  bool fail(int err) {
    m_error = SystemErrorText(m_path, err);
    return false;
  }

  static constexpr size_t kBufferSize = 64 * 1024;
  int m_fd;
  std::string m_path;
  std::string m_buffer;
  std::string m_error;
  bool m_sync = false;
};

class AtomicSink : public FdSink {
 public:
  // Messages name `shown`, the path the caller gave.
  AtomicSink(int fd, std::string tempPath, std::string target, const std::string& shown, mode_t mode, bool durable)
      : FdSink(fd, shown), m_temp(std::move(tempPath)), m_target(std::move(target)), m_mode(mode) {
    m_sync = durable;
  }
  ~AtomicSink() override {
    if (!m_done) {
      if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
      }
      ::unlink(m_temp.c_str());
    }
  }
  bool close() override {
    if (m_done) return true;
    if (m_fd >= 0 && ::fchmod(m_fd, m_mode) != 0) {
      // Not fatal: the file is still complete; keep going.
    }
    if (!FdSink::close()) {
      ::unlink(m_temp.c_str());
      m_done = true;
      return false;
    }
    m_done = true;
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
      const int err = errno;
      ::unlink(m_temp.c_str());
      return fail(err);
    }
    return true;
  }

 private:
  std::string m_temp;
  std::string m_target;
  mode_t m_mode;
  bool m_done = false;
};

}  // namespace

SinkOpening OpenDirectSink(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return {nullptr, SystemFailure(ErrorCode::CannotWrite, path, errno)};
  return {std::make_unique<FdSink>(fd, path), {}};
}

SinkOpening OpenAtomicSink(const std::string& path) { return OpenRenamingSink(path, true); }

std::string FollowLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(current.c_str(), buf.data(), buf.size());
    if (n < 0 || static_cast<size_t>(n) >= buf.size()) return current;
    const std::string target(buf.data(), static_cast<size_t>(n));
    if (target.empty()) return current;
    if (target.front() == '/') {
      current = target;
    } else {
      const auto slash = current.rfind('/');
      current = slash == std::string::npos ? target : current.substr(0, slash + 1) + target;
    }
  }
  return path;
}

namespace {

// Our temporary files are "." + target name + ".pictavo-" + pid + "-" + six
// random letters or digits: hidden, tied to their target, and naming the
// process that writes them, so that what a killed run left can be told from
// what a running one is writing.
constexpr std::string_view kTempTag = ".pictavo-";
constexpr size_t kRandomPart = 6;

// "." + target name + tag; the name is cut (at a character boundary) where
// the whole temporary name would pass the file system's limit.
std::string TemporaryStem(const std::string& name) {
  constexpr size_t kRoom = NAME_MAX - 1 - kTempTag.size() - 10 - 1 - kRandomPart;
  size_t keep = name.size();
  if (keep > kRoom) {
    keep = kRoom;
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  }
  return "." + name.substr(0, keep) + std::string(kTempTag);
}

// The writer's pid in one of our temporary names after `stem`; 0 when the
// name is not of our pattern.
pid_t TemporaryWriter(std::string_view entry, std::string_view stem) {
  if (entry.size() < stem.size() + 2 + kRandomPart || entry.substr(0, stem.size()) != stem) return 0;
  const std::string_view tail = entry.substr(entry.size() - kRandomPart);
  for (char c : tail) {
    const char lower = static_cast<char>(c | 0x20);  // ASCII only, whatever the locale
    if (!(c >= '0' && c <= '9') && !(lower >= 'a' && lower <= 'z')) return 0;
  }
  const std::string_view digits = entry.substr(stem.size(), entry.size() - stem.size() - kRandomPart - 1);
  if (entry[entry.size() - kRandomPart - 1] != '-' || digits.empty() || digits.size() > 9 || digits[0] == '0') return 0;
  long pid = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    pid = pid * 10 + (c - '0');
  }
  return static_cast<pid_t>(pid);
}

// A temporary left by a kill: its writer is gone and nobody holds its lock.
// The pid covers the moment between making the file and locking it; the
// lock covers a writer whose pid means nothing here (another pid namespace:
// a sandboxed copy of the program writing the same folder).
void RemoveIfStale(int dir, const std::string& entry, pid_t writer) {
  if (writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH) return;
  const int fd = ::openat(dir, entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  struct stat now {};
  // Only a plain file of this user, and only while the name still leads to it.
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
      !(::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) &&
      ::fstatat(dir, entry.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == st.st_dev &&
      now.st_ino == st.st_ino) {
    ::unlinkat(dir, entry.c_str(), 0);
  }
  ::close(fd);
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

}  // namespace

void RemoveStaleTemporaries(const std::string& folder, const std::string& target) {
  if (target.empty()) {
    RemoveStaleTemporaries(folder, std::set<std::string>{});
  } else {
    RemoveStaleTemporaries(folder, std::set<std::string>{target});
  }
}

void RemoveStaleTemporaries(const std::string& folder, const std::set<std::string>& targets) {
  DIR* d = ::opendir(folder.c_str());
  if (!d) return;
  std::set<std::string, std::less<>> stems;
  for (const auto& t : targets) stems.insert(TemporaryStem(t));
  std::vector<std::pair<std::string, pid_t>> found;
  while (const dirent* e = ::readdir(d)) {
    const std::string_view entry = e->d_name;
    if (entry.size() < 2 || entry[0] != '.') continue;
    const auto tag = entry.rfind(kTempTag);
    if (tag == std::string_view::npos || tag <= 1) continue;
    const std::string_view stem = entry.substr(0, tag + kTempTag.size());
    if (!targets.empty() && !stems.count(stem)) continue;
    if (const pid_t writer = TemporaryWriter(entry, stem); writer > 0) found.emplace_back(std::string(entry), writer);
  }
  for (const auto& [entry, writer] : found) RemoveIfStale(::dirfd(d), entry, writer);
  ::closedir(d);
}

SinkOpening OpenRenamingSink(const std::string& given, bool durable, int permissions) {
  // Renaming over a link would put a plain file in its place and leave the
  // file it leads to as it was: replace the user's file instead.
  const std::string path = durable ? FollowLinks(given) : given;
  const std::string dir = FolderOf(path);
  const std::string name = LastComponent(path);
  mode_t mode = 0644;
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists) {
    if (S_ISDIR(st.st_mode)) return {nullptr, SystemFailure(ErrorCode::CannotWrite, given, EISDIR)};
    mode = st.st_mode & 07777;
    // A read-only file stays protected: refuse as a plain open would.
    if (::access(path.c_str(), W_OK) != 0) return {nullptr, SystemFailure(ErrorCode::CannotWrite, given, errno)};
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (permissions >= 0) mode = static_cast<mode_t>(permissions) & 07777;
  // What a killed writer of this file left goes first. Thumbnails, made by
  // the thousand in one folder, skip the listing: the album run clears their
  // folder once instead.
  if (durable) RemoveStaleTemporaries(dir, name);
  std::string temp = (dir == "/" ? std::string("/") : dir + "/") + TemporaryStem(name) +
                     std::to_string(::getpid()) + "-" + std::string(kRandomPart, 'X');
  std::vector<char> buf(temp.begin(), temp.end());
  buf.push_back('\0');
  const int fd = ::mkostemp(buf.data(), O_CLOEXEC);
  if (fd < 0) return {nullptr, SystemFailure(ErrorCode::CannotWrite, given, errno)};
  // Held until the file is closed: tells a cleaner anywhere that it is live.
  (void)::flock(fd, LOCK_EX | LOCK_NB);
  if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
    // The replaced file keeps its owner and group where the process may set
    // them (root, or a group the user belongs to); otherwise they are ours.
    const bool kept = ::fchown(fd, st.st_uid, st.st_gid) == 0 || ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) == 0;
    (void)kept;
  }
  return {std::make_unique<AtomicSink>(fd, std::string(buf.data()), path, given, mode, durable), {}};
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes, bool durable) {
  SinkOpening opened = OpenRenamingSink(path, durable);
  if (!opened.sink) return opened.status;
  ByteSink& sink = *opened.sink;
  if (!sink.write(bytes) || !sink.close()) return Status::Failure(ErrorCode::CannotWrite, sink.error());
  return {};
}

bool LimitedSink::write(std::string_view bytes) {
  if (m_written + bytes.size() > m_limit) {
    const size_t room = m_limit - m_written;
    if (room > 0) m_inner->write(bytes.substr(0, room));
    m_written = m_limit;
    m_error = "No space left on device";
    return false;
  }
  m_written += bytes.size();
  return m_inner->write(bytes);
}

bool LimitedSink::close() {
  // After a simulated failure the inner sink is dropped unclosed, so an atomic
  // one leaves the old file in place, as after a real failure.
  if (!m_error.empty()) {
    m_inner.reset();
    return false;
  }
  return m_inner->close();
}

}  // namespace pictavo
