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
};

struct [[nodiscard]] Error {
  ErrorCode code;
  Message message;
  std::string detail = {};
};

// "<path>: <strerror(errnum)>", the system's reason for a failed file operation.
std::string SystemErrorText(const std::string& path, int errnum);

}  // namespace pictavo
