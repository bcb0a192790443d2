#pragma once
// The subcommands of pictavo-cli. Each Add*Command registers one subcommand
// on the app; its callback leaves the exit status in `exitCode`
// (0 done, 1 ended with a failure message, 2 usage error).

#include <iosfwd>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "album/album_page.h"
#include "album/album_run.h"
#include "settings/album_settings.h"
#include "settings/settings_file.h"

namespace pictavo::cli {

struct Io {
  std::ostream& out;
  std::ostream& err;
};

class CliHost;

// Options every command that reads settings shares.
struct SettingsOptions {
  std::string home;               // --home DIR: the program folder
  std::string settingsFile;       // --settings FILE: read instead of PCV.ini
  std::string loadFile;           // --load FILE: applied with the load command's rules
  std::vector<std::string> sets;  // --set FIELD=VALUE
  void add(CLI::App& cmd);

  // Starts as the program does: ResetSettings, the program folder (created
  // with its inifile folder when missing), then the start-up reading of its
  // PCV.ini (or Vistamo.ini), or of --settings FILE. Returns an exit status.
  int startUp(AlbumSettings& settings, MainValues& main, SettingsLines& lines, CliHost& host,
              std::ostream& err) const;
  // Then --load FILE and the --set overrides. Returns an exit status.
  int applyAfterStart(AlbumSettings& settings, MainValues& main, SettingsLines& lines, CliHost& host,
                      std::ostream& err) const;
  // Both of the above.
  int start(AlbumSettings& settings, MainValues& main, SettingsLines& lines, CliHost& host, std::ostream& err) const;
  // Applies the --set overrides alone; false (message on err) for a bad one.
  bool apply(AlbumSettings& settings, std::ostream& err) const;
};

void AddAlbumCommand(CLI::App& app, Io& io, int& exitCode);
void AddSettingsCommand(CLI::App& app, Io& io, int& exitCode);
void AddCommentsCommand(CLI::App& app, Io& io, int& exitCode);
void AddTocCommand(CLI::App& app, Io& io, int& exitCode);
void AddBatchCommand(CLI::App& app, Io& io, int& exitCode);

// The picture list as a folder change fills it: the ".jpg" files (extension
// lower-cased) in name order, all selected.
std::vector<PictureEntry> FolderPictures(const std::string& folder, std::ostream& err);

// Runs the command line; returns the exit status.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// Today's local date.
CivilDate Today();

// Splits "a,b,c" into names (empty items dropped).
std::vector<std::string> SplitList(const std::string& text);

}  // namespace pictavo::cli
