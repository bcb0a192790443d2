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
#include "check/site_check.h"
#include "settings/album_settings.h"
#include "session/session.h"
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

  // Starts as the program does (StartUp over --home and --settings).
  // Returns an exit status.
  int startUp(Session& session, CliHost& host, std::ostream& err) const;
  // Then --load FILE and the --set overrides. Returns an exit status.
  int applyAfterStart(Session& session, CliHost& host, std::ostream& err) const;
  // Both of the above.
  int start(Session& session, CliHost& host, std::ostream& err) const;
  // Applies the --set overrides alone; false (message on err) for a bad one.
  bool apply(AlbumSettings& settings, std::ostream& err) const;
};

void AddAlbumCommand(CLI::App& app, Io& io, int& exitCode);
void AddBmp2JpgCommand(CLI::App& app, Io& io, int& exitCode);
void AddRotateCommand(CLI::App& app, Io& io, int& exitCode);
void AddSettingsCommand(CLI::App& app, Io& io, int& exitCode);
void AddCommentsCommand(CLI::App& app, Io& io, int& exitCode);
void AddTocCommand(CLI::App& app, Io& io, int& exitCode);
void AddBatchCommand(CLI::App& app, Io& io, int& exitCode);
void AddCheckCommand(CLI::App& app, Io& io, int& exitCode);
void AddPublishCommand(CLI::App& app, Io& io, int& exitCode);

// The site check's findings, one line each, the page named after `base`.
void PrintFindings(const std::string& base, const SiteCheckResult& r, std::ostream& out);

// Runs the command line; returns the exit status.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The folder's pictures (FolderPictures), with a warning on err for the
// names passed over.
std::vector<PictureEntry> ListFolderPictures(const std::string& folder, const std::string& extension,
                                             std::ostream& err);

// The named pictures ("a.jpg,b.jpg"), all selected, or the folder's ".jpg" files
// when names is empty.
std::vector<PictureEntry> PictureSelection(const std::string& folder, const std::string& names, std::ostream& err);

// Splits "a,b,c" into names (empty items dropped).
std::vector<std::string> SplitList(const std::string& text);

}  // namespace pictavo::cli
