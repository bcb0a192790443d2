#pragma once
// The record a publish keeps in its destination: every file it wrote there,
// what it was made from and what it looked like when written, so that the
// next publish redoes only what changed, removes only what it wrote and
// leaves everything else in the folder alone. The folder may have been
// edited or damaged since, so the reading trusts nothing: a line that does
// not parse, or names a path that is not a plain path inside the folder, is
// dropped (its file then counts as someone else's and is never touched).

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace pictavo {

// A hidden name: the site check and listings pass it over.
inline constexpr const char* kManifestName = ".pictavo-publish";
inline constexpr size_t kManifestReadLimit = 64 * 1024 * 1024;

struct ManifestEntry {
  std::string recipe;            // how the file was made ("page", "picture 2048 85 strip", ...)
  int64_t sourceSize = -1;       // the source as it was read
  int64_t sourceTime = -1;       // its modification time in nanoseconds
  int64_t size = -1;             // the written file; -1: claimed, not (yet) known to be written
  int64_t time = -1;
  bool claimed() const { return size < 0; }
};
using Manifest = std::map<std::string, ManifestEntry>;  // by path relative to the destination

// A relative path of plain names ("a/b.jpg"): no empty, "." or ".." part,
// no leading "/", no control characters.
bool IsPlainRelativePath(std::string_view path);

Manifest ParseManifest(std::string_view bytes);
std::string FormatManifest(const Manifest& manifest);

}  // namespace pictavo
