#pragma once
// The publish window's three settings (largest size, quality, keep the
// location), kept in a file of their own in the program folder, beside and
// apart from the 97-line settings file, whose lines stay as they are.
// The file is the program's own; still, a value that does not read or lies
// out of range keeps its default.

#include <string>

#include "platform/error.h"

namespace pictavo {

inline constexpr const char* kPublishSettingsName = "publish.txt";

struct PublishSettings {
  int maxSize = 2048;
  int quality = 85;
  bool keepLocation = false;
  bool operator==(const PublishSettings&) const = default;
};

// From programFolder/publish.txt; the defaults when it is missing.
PublishSettings ReadPublishSettings(const std::string& programFolder);
// Replaces the file atomically: "maxSize=N", "quality=Q", "keepLocation=on|off", CR LF.
Status WritePublishSettings(const std::string& programFolder, const PublishSettings& settings);

}  // namespace pictavo
