#include "platform/textfile.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/error.h"
#include "text/encoding.h"

namespace pictavo {

bool TextWriter::writeLine(std::string_view utf8) {
  if (!m_ok || !m_sink) return false;
  std::string bytes = Utf8ToCp932(utf8);
  bytes += "\r\n";
  if (!m_sink->write(bytes)) {
    m_ok = false;
    m_error = m_sink->error();
  }
  return m_ok;
}

bool TextWriter::writeLines(const std::vector<std::string>& lines) {
  for (const auto& line : lines) {
    if (!writeLine(line)) return false;
  }
  return true;
}

bool TextWriter::close() {
  if (!m_sink) return m_ok;
  if (m_ok) {
    if (!m_sink->close()) {
      m_ok = false;
      m_error = m_sink->error();
    }
  }
  m_sink.reset();
  return m_ok;
}

TextReader::TextReader(std::string bytes, bool decodeReferences)
    : m_bytes(std::move(bytes)), m_decodeReferences(decodeReferences) {
  const auto eof = m_bytes.find('\x1A');
  m_end = eof == std::string::npos ? m_bytes.size() : eof;
}

TextOpening TextReader::open(const std::string& path, bool decodeReferences) {
  std::string bytes;
  Status status = ReadFileBytes(path, bytes);
  if (!status.ok()) return {std::nullopt, std::move(status)};
  return {TextReader(std::move(bytes), decodeReferences), {}};
}

std::string TextReader::readLine() {
  if (m_pos >= m_end) return {};
  size_t cr = m_bytes.find('\r', m_pos);
  if (cr == std::string::npos || cr > m_end) cr = m_end;
  std::string line = Cp932ToUtf8(std::string_view(m_bytes).substr(m_pos, cr - m_pos), m_decodeReferences);
  m_pos = cr;
  if (m_pos < m_end) {
    ++m_pos;  // the CR
    if (m_pos < m_end && m_bytes[m_pos] == '\n') ++m_pos;
  }
  return line;
}

Status ReadFileBytes(const std::string& path, std::string& bytes, bool* opened, size_t limit) {
  // Not blocking on a pipe with a file's name; reads below block as usual.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (opened) *opened = fd >= 0;
  if (fd < 0) return SystemFailure(ErrorCode::CannotRead, path, errno);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    if (opened) *opened = false;
    ::close(fd);
    return SystemFailure(ErrorCode::CannotRead, path, EISDIR);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  bytes.clear();
  char buf[65536];
  while (bytes.size() < limit) {
    const ssize_t n = ::read(fd, buf, std::min(sizeof buf, limit - bytes.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      return SystemFailure(ErrorCode::CannotRead, path, err);
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return {};
}

}  // namespace pictavo
