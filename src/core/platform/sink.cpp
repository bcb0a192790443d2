#include "platform/sink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/error.h"

namespace pictavo {

std::string SystemErrorText(const std::string& path, int errnum) {
  return path + ": " + std::strerror(errnum);
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

std::unique_ptr<ByteSink> OpenDirectSink(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = SystemErrorText(path, errno);
    return nullptr;
  }
  return std::make_unique<FdSink>(fd, path);
}

std::unique_ptr<ByteSink> OpenAtomicSink(const std::string& path, std::string& error) {
  return OpenRenamingSink(path, error, true);
}

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

std::unique_ptr<ByteSink> OpenRenamingSink(const std::string& given, std::string& error, bool durable,
                                           int permissions) {
  // Renaming over a link would put a plain file in its place and leave the
  // file it leads to as it was: replace the user's file instead.
  const std::string path = durable ? FollowLinks(given) : given;
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  mode_t mode = 0644;
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists) {
    if (S_ISDIR(st.st_mode)) {
      error = SystemErrorText(given, EISDIR);
      return nullptr;
    }
    mode = st.st_mode & 07777;
    // A read-only file stays protected: refuse as a plain open would.
    if (::access(path.c_str(), W_OK) != 0) {
      error = SystemErrorText(given, errno);
      return nullptr;
    }
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (permissions >= 0) mode = static_cast<mode_t>(permissions) & 07777;
  std::string temp = (dir == "/" ? std::string("/") : dir + "/") + "." + name + ".XXXXXX";
  std::vector<char> buf(temp.begin(), temp.end());
  buf.push_back('\0');
  const int fd = ::mkostemp(buf.data(), O_CLOEXEC);
  if (fd < 0) {
    error = SystemErrorText(given, errno);
    return nullptr;
  }
  if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
    // The replaced file keeps its owner and group where the process may set
    // them (root, or a group the user belongs to); otherwise they are ours.
    const bool kept = ::fchown(fd, st.st_uid, st.st_gid) == 0 || ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) == 0;
    (void)kept;
  }
  return std::make_unique<AtomicSink>(fd, std::string(buf.data()), path, given, mode, durable);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error, bool durable) {
  auto sink = OpenRenamingSink(path, error, durable);
  if (!sink) return false;
  if (!sink->write(bytes) || !sink->close()) {
    error = sink->error();
    return false;
  }
  return true;
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
