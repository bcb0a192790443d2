#pragma once
// What the toc and batch commands share: their options, a host that shows
// the table of contents and the batch on the terminal, and the album driver
// that makes each album with the album run.

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "album/album_run.h"
#include "batch/batch_run.h"
#include "cli_host.h"
#include "commands.h"
#include "toc/toc_page.h"

namespace pictavo::cli {

struct TocCliOptions {
  std::string folder;
  std::string title;
  bool titleGiven = false;
  bool frames = false;
  int frameTitleSize = 3;
  bool pictures = false;
  int32_t bgColor = 0x808080;
  std::string bgPicture;
  bool open = false;
  bool quiet = false;
  SettingsOptions settings;

  void add(CLI::App& cmd);
  // Starts as the program does (the settings options), then fills the
  // window's options. Returns an exit status (0 to go on).
  int start(AlbumSettings& s, MainValues& main, SettingsLines& lines, CliHost& host, TocOptions& o,
            std::ostream& err) const;
};

// The table-of-contents and batch windows on the terminal, through a CliHost.
class CliBatchHost final : public BatchHost {
 public:
  // quiet: no line per folder.
  CliBatchHost(CliHost& cli, bool quiet) : m_cli(cli), m_quiet(quiet) {}
  void showMessage(const std::string& text) override { m_cli.showMessage(text); }
  bool askYesNo(const std::string& text, const std::string& caption) override { return m_cli.askYesNo(text, caption); }
  void setStatus(int panel, const std::string& text) override { m_cli.setStatus(panel, text); }
  void note(const std::string& detail) override { m_cli.note(detail); }
  // Ctrl-C is the batch window's "中止".
  bool processEvents() override { return m_cli.processEvents(); }
  void showBatchProgress(const std::string& text) override { m_progress = text; }
  void showBatchFolder(const std::string& folderName) override {
    if (!m_quiet) m_cli.printLine(m_progress + " " + folderName);
  }

 private:
  CliHost& m_cli;
  bool m_quiet;
  std::string m_progress;
};

// The run's extras for each album of a batch.
using ExtrasFactory = std::function<std::unique_ptr<RunExtras>()>;

// The main window as the batch drives it, over the album run. `perRow` is
// the per-row control's position.
class CliAlbumDriver final : public AlbumDriver {
 public:
  CliAlbumDriver(AlbumSettings& settings, MainValues& main, CliHost& host, int perRow, CivilDate today,
                 std::ostream& err, ExtrasFactory makeExtras);
  void moveToFolder(const std::string& folder) override;
  const std::vector<PictureEntry>& listPictures() override;
  void deselect(const std::string& name) override;
  RunOutcome runAlbum() override;

 private:
  AlbumSettings& m_settings;
  MainValues& m_main;
  CliHost& m_host;
  int m_perRow;
  CivilDate m_today;
  std::ostream& m_err;
  ExtrasFactory m_makeExtras;
  std::vector<PictureEntry> m_pictures;
};

}  // namespace pictavo::cli
