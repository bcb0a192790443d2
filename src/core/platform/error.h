#pragma once
// Errors cross the core boundary as values: a message the front end can show.

#include <string>

namespace pictavo {

struct Error {
  std::string message;
};

// "<path>: <strerror(errnum)>", the system's reason for a failed file operation.
std::string SystemErrorText(const std::string& path, int errnum);

}  // namespace pictavo
