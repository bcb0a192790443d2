#pragma once
// Byte sinks for the text and picture writers. Writers take a sink so that
// tests can make one fail after N bytes.

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace pictavo {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends bytes; false on failure (see error()).
  virtual bool write(std::string_view bytes) = 0;
  // Finishes the file; false on failure. A sink that is destroyed without a
  // successful close() leaves no trace where it was atomic.
  virtual bool close() = 0;
  virtual const std::string& error() const = 0;
};

// What the sink openers give: a sink, or none and why (CannotWrite, NotFound
// for a missing folder).
struct [[nodiscard]] SinkOpening {
  std::unique_ptr<ByteSink> sink;
  Status status;
};

// Writes straight into the file at path, replacing it: whatever happens
// later, what was written so far is the file.
SinkOpening OpenDirectSink(const std::string& path);

// Opens files for writing; replaced in tests by one that fails part-way.
using SinkOpener = std::function<SinkOpening(const std::string& path)>;

// Writes into a temporary file in the same folder; close() flushes it to disk
// and renames it over path, keeping the old file's permission bits and, where
// the process may set them, its owner and group. A symbolic link is followed:
// the file it leads to is replaced and the link stays. Anything short of a
// successful close() leaves the old file as it was. Files the program can make
// again (thumbnails) may skip the flush to disk: `durable` false keeps the
// rename, so a failed write still leaves no half file, and replaces a link
// itself rather than the file it leads to (a link in a thumbnail folder may
// lead anywhere). `permissions` (0 to 07777), when given, is the new file's
// mode instead. The temporary file is hidden and named after the target and
// the writing process (".index.htm.pictavo-4242-a8Zq0x"); a durable sink
// first removes what a killed writer of the same file left
// (RemoveStaleTemporaries).
SinkOpening OpenAtomicSink(const std::string& path);
SinkOpening OpenRenamingSink(const std::string& path, bool durable, int permissions = -1);

// Removes the temporary files of this program's renaming sinks that a killed
// writer left in `folder`: those of `target` (a name in the folder) when it is
// given, else all. Only names of the sinks' own pattern that are plain files
// of this user, whose writing process is gone and whose lock nobody holds; a
// temporary another running process is writing is never touched. Nothing is
// reported: what cannot be removed stays.
void RemoveStaleTemporaries(const std::string& folder, const std::string& target = {});
// The same for several targets at once, in one pass over the folder (all when
// `targets` is empty).
void RemoveStaleTemporaries(const std::string& folder, const std::set<std::string>& targets);

// The file a path leads to: symbolic links followed (a relative link from its
// own folder), the last link kept when it leads nowhere; the path itself when
// it is no link or the links go round in a circle.
std::string FollowLinks(const std::string& path);

// Writes a whole file atomically (see OpenAtomicSink); a failed write or
// rename is CannotWrite.
Status WriteFileAtomically(const std::string& path, std::string_view bytes, bool durable = true);

// A sink that fails once more than `limit` bytes have been written; for tests
// and for callers that want to simulate a full disk.
class LimitedSink : public ByteSink {
 public:
  LimitedSink(std::unique_ptr<ByteSink> inner, size_t limit) : m_inner(std::move(inner)), m_limit(limit) {}
  bool write(std::string_view bytes) override;
  bool close() override;
  const std::string& error() const override { return m_error.empty() && m_inner ? m_inner->error() : m_error; }

 private:
  std::unique_ptr<ByteSink> m_inner;
  size_t m_limit;
  size_t m_written = 0;
  std::string m_error;
};

}  // namespace pictavo
