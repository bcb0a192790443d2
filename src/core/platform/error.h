#pragma once
// Errors cross the core boundary as values: what went wrong as a code a
// caller can act on, a message a front end can show, and the system's reason
// behind it (a file and strerror, a libjpeg text) for a detail line.

#include <string>

#include "platform/message.h"

namespace pictavo {

enum class ErrorCode {
  NotFound,     // a file or folder the caller named does not exist
  CannotRead,   // it exists but cannot be read
  CannotWrite,  // a file or folder cannot be created or written
  BadValue,     // a setting or an argument that cannot be used
  Damaged,      // the bytes are not what they claim to be (a cut or corrupt picture)
  TooLarge,     // over a limit the program keeps (memory, a file's or header's size)
  Unsupported,  // a well-formed file of a kind the program does not take
};

struct [[nodiscard]] Error {
  ErrorCode code;
  Message message;
  std::string detail = {};
};

// What a lower-layer operation reports: success, or a code with the system's
// or the decoder's reason ("<path>: No such file or directory", a libjpeg
// text). The reason is a detail for the user, never the whole message.
class [[nodiscard]] Status {
 public:
  Status() = default;  // success
  static Status Failure(ErrorCode code, std::string reason) { return Status(code, std::move(reason)); }

  bool ok() const { return !m_failed; }
  explicit operator bool() const { return ok(); }
  ErrorCode code() const { return m_code; }
  const std::string& reason() const { return m_reason; }

 private:
  Status(ErrorCode code, std::string reason) : m_failed(true), m_code(code), m_reason(std::move(reason)) {}
  bool m_failed = false;
  ErrorCode m_code = ErrorCode::BadValue;
  std::string m_reason;
};

// "<path>: <strerror(errnum)>", the system's reason for a failed file operation.
std::string SystemErrorText(const std::string& path, int errnum);
// A failed file operation with that reason: NotFound when the system says the
// file or a folder on its way is missing (ENOENT), else `otherwise`.
Status SystemFailure(ErrorCode otherwise, const std::string& path, int errnum);

}  // namespace pictavo
