#include "platform/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/sink.h"

namespace pictavo {

bool HasAttributes(const std::string& path, unsigned attributes) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return true;
  unsigned have = 0;
  if (S_ISDIR(st.st_mode)) have |= kAttrDirectory;
  if ((st.st_mode & S_IWUSR) == 0) have |= kAttrReadOnly;
  if (LastComponent(path).rfind('.', 0) == 0) have |= kAttrHidden;
  return (have & attributes) == attributes;
}

time_t DosTime(time_t t) {
  std::tm local{};
  if (!localtime_r(&t, &local)) return t - (t % 2 + 2) % 2;
  return t - local.tm_sec % 2;
}

bool IsReadOnly(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

bool ClearReadOnly(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool CopyFileTo(const std::string& source, const std::string& destination, Message& error,
                std::string* detail) {
  std::string target = AbsolutePath(destination);
  if (HasAttributes(target, kAttrDirectory)) target = FolderBase(target) + LastComponent(source);
  return CopyFileAs(source, target, error, detail);
}

bool CopyFileAs(const std::string& source, const std::string& target, Message& error, std::string* detail) {
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (in < 0 || ::fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
    const int err = in < 0 ? errno : EISDIR;
    if (in >= 0) ::close(in);
    error = Message(MessageId::CannotOpenFile, {source});
    if (detail) *detail = SystemErrorText(source, err);
    return false;
  }
  // The copy keeps the source's permission bits: a private photograph gets a
  // private backup.
  SinkOpening opened = OpenRenamingSink(target, /*durable=*/true, static_cast<int>(st.st_mode & 0777));
  if (!opened.sink) {
    ::close(in);
    error = Message(MessageId::CannotCreateFile, {target});
    if (detail) *detail = opened.status.reason();
    return false;
  }
  ByteSink* const sink = opened.sink.get();
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(in);
      error = Message(MessageId::CannotOpenFile, {source});
      if (detail) *detail = SystemErrorText(source, err);
      return false;
    }
    // A short read is not the end of the file; only a read of nothing is.
    if (n == 0 || !sink->write(std::string_view(buffer, static_cast<size_t>(n)))) break;
  }
  ::close(in);
  if (!sink->error().empty() || !sink->close()) {
    error = Message(MessageId::CannotCreateFile, {target});
    if (detail) *detail = sink->error();
    return false;
  }
  return true;
}

}  // namespace pictavo
