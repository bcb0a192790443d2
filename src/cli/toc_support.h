#pragma once
// What the toc and batch commands share: their options, a host that shows
// the table of contents and the batch on the terminal, and the album driver
// that makes each album with the album run.

#include <iosfwd>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "album/album_run.h"
#include "batch/batch_run.h"
#include "cli_host.h"
#include "commands.h"
#include "session/session.h"
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
  int start(Session& session, CliHost& host, TocOptions& o, std::ostream& err) const;
};

// The table-of-contents and batch windows on the terminal, through a CliHost.
class CliBatchHost final : public BatchHost {
 public:
  // quiet: no line per folder.
  CliBatchHost(CliHost& cli, bool quiet) : m_cli(cli), m_quiet(quiet) {}
  void showMessage(const Message& message) override { m_cli.showMessage(message); }
  bool askYesNo(const Message& question, const Message& caption) override { return m_cli.askYesNo(question, caption); }
  void setStatus(StatusPanel panel, const Message& text) override { m_cli.setStatus(panel, text); }
  void note(const Message& detail) override { m_cli.note(detail); }
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

// The main window as the batch drives it: the core's driver, whose host
// warns on the terminal of names a listing passes over.
class CliAlbumDriver final : public SessionAlbumDriver {
 public:
  CliAlbumDriver(Session& session, CliHost& host, CivilDate today) : SessionAlbumDriver(session, host, host, today) {}
};

}  // namespace pictavo::cli
