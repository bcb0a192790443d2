#pragma once
// Copying a file, and attribute tests.

#include <ctime>
#include <string>

#include "platform/message.h"

namespace pictavo {

// Copies the contents of `source`. When `destination` is an existing folder
// or names nothing that exists, it is taken as a folder and the source's file
// name is appended. The copy is written in 8192-byte chunks to a temporary
// file beside the target, flushed and renamed into place, so it is complete
// or absent; it keeps the source's permission bits, not its time stamps. On failure
// `error` says the source cannot be opened (CannotOpenFile) or the target not
// created (CannotCreateFile) and `detail` holds the system's reason.
bool CopyFileTo(const std::string& source, const std::string& destination, Message& error,
                std::string* detail = nullptr);

// The same copy to exactly the path `target`, whatever exists there.
bool CopyFileAs(const std::string& source, const std::string& target, Message& error,
                std::string* detail = nullptr);

enum FileAttribute : unsigned {
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrDirectory = 16,
};

// True when every bit of `attributes` is set for `path`; a path that does not
// exist counts as having every attribute.
bool HasAttributes(const std::string& path, unsigned attributes);

// A modification time at the 2-second resolution of a DOS time stamp: the
// local time's seconds rounded down to an even number (also before 1970).
time_t DosTime(time_t t);

// Read-only: the owner's write bit is clear. Clearing sets that bit only.
bool IsReadOnly(const std::string& path);
bool ClearReadOnly(const std::string& path);

}  // namespace pictavo
