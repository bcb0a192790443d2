#include "publish/publish_settings.h"

#include "platform/paths.h"
#include "platform/sink.h"
#include "text/chars.h"
#include "platform/textfile.h"

namespace pictavo {

PublishSettings ReadPublishSettings(const std::string& programFolder) {
  PublishSettings s;
  std::string bytes;
  // A missing or unreadable file leaves the defaults; nothing to show.
  if (!ReadFileBytes(FolderBase(programFolder) + kPublishSettingsName, bytes, nullptr, 4096).ok()) return s;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    const auto n = ParseDecimal(value);
    if (key == "maxSize" && n && *n >= 16 && *n <= 65500) s.maxSize = *n;
    if (key == "quality" && n && *n >= 1 && *n <= 100) s.quality = *n;
    if (key == "keepLocation" && (value == "on" || value == "off")) s.keepLocation = value == "on";
  }
  return s;
}

Status WritePublishSettings(const std::string& programFolder, const PublishSettings& settings) {
  const std::string text = "maxSize=" + std::to_string(settings.maxSize) + "\r\nquality=" +
                           std::to_string(settings.quality) + "\r\nkeepLocation=" +
                           (settings.keepLocation ? "on" : "off") + "\r\n";
  return WriteFileAtomically(FolderBase(programFolder) + kPublishSettingsName, text);
}

}  // namespace pictavo
