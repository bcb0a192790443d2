// The settings file readers: the start-up reading and the load command, on
// any bytes. What they load must save again as a 97-line file.

#include <cstdint>
#include <string>

#include "fuzz_util.h"
#include "settings/settings_file.h"

namespace {

class Window : public pictavo::SettingsWindow {
 public:
  void showMessage(const std::string&) override {}
  bool askYesNo(const std::string&, const std::string&) override { return false; }
  std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return {}; }
  std::optional<std::string> chooseSaveFile(const std::string&, const std::string&) override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pictavo;
  const std::string path = fuzz::WriteInput(data, size, "settings.ini");
  Window window;
  AlbumSettings settings;
  ResetSettings(settings);
  SettingsLines lines;
  ReadSettingsAtStart(path, settings, lines, window);

  AlbumSettings loaded;
  ResetSettings(loaded);
  MainValues main;
  main.programFolder = fuzz::ScratchFolder() + "/home";
  main.currentFolder = fuzz::ScratchFolder();
  main.folderSettingsPath = path;
  main.loadWithoutAsking = true;
  SettingsLoadCommand(loaded, main, lines, window);
  if (inisave(loaded, main.programVersion, lines) != 96) std::abort();
  return 0;
}
