#include "publish/manifest.h"

#include <charconv>
#include <vector>

namespace pictavo {

namespace {

constexpr std::string_view kHeader = "pictavo-publish 1";

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return out;
    start = tab + 1;
  }
}

bool Number(std::string_view text, int64_t& value) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= -1;
}

}  // namespace

bool IsPlainRelativePath(std::string_view path) {
  if (path.empty() || path.size() > 4096) return false;
  size_t start = 0;
  while (true) {
    const size_t slash = path.find('/', start);
    const std::string_view part = path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
    if (part.empty() || part == "." || part == "..") return false;
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  for (const char c : path) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

Manifest ParseManifest(std::string_view bytes) {
  Manifest out;
  if (bytes.size() > kManifestReadLimit) return out;
  size_t start = 0;
  bool first = true;
  while (start < bytes.size()) {
    const size_t nl = bytes.find('\n', start);
    const std::string_view line = bytes.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start);
    start = nl == std::string_view::npos ? bytes.size() : nl + 1;
    if (first) {
      if (line != kHeader) return out;  // another format: nothing in it is ours to act on
      first = false;
      continue;
    }
    const std::vector<std::string_view> f = Fields(line);
    if (f.size() != 6 || !IsPlainRelativePath(f[0]) || f[1].empty()) continue;
    ManifestEntry e;
    e.recipe = std::string(f[1]);
    if (!Number(f[2], e.sourceSize) || !Number(f[3], e.sourceTime) || !Number(f[4], e.size) ||
        !Number(f[5], e.time)) {
      continue;
    }
    out[std::string(f[0])] = std::move(e);
  }
  return out;
}

std::string FormatManifest(const Manifest& manifest) {
  std::string out = std::string(kHeader) + "\n";
  for (const auto& [path, e] : manifest) {
    // Paths with control characters are never published, so tabs and line
    // ends cannot occur in a field.
    out += path + "\t" + e.recipe + "\t" + std::to_string(e.sourceSize) + "\t" + std::to_string(e.sourceTime) + "\t" +
           std::to_string(e.size) + "\t" + std::to_string(e.time) + "\n";
  }
  return out;
}

}  // namespace pictavo
