// pictavo-cli batch FOLDER: an album in every sub-folder with pictures, then
// the table of contents over them.

#include <unistd.h>

#include <iostream>

#include "platform/paths.h"
#include "toc_support.h"

namespace pictavo::cli {

namespace {

// The album runs inside a batch ignore Ctrl-C: the batch stops between folders.
class BatchAlbumHost final : public CliHost {
 public:
  using CliHost::CliHost;
  bool processEvents() override { return false; }
};

int RunBatchCommand(const TocCliOptions& o, Io& io) {
  const bool progress = !o.quiet && ::isatty(STDERR_FILENO) && &io.err == &std::cerr;
  CliHost cli(io.err, false, progress);
  cli.setAnswer(msg::kBrowserQuestion, o.open);
  CliBatchHost host(cli, o.quiet);
  // The main window: the settings, the per-row control and the album runs.
  BatchAlbumHost albumHost(io.err, false, progress);
  Session session;
  AlbumSettings& settings = session.settings;
  MainValues& main = session.main;
  TocOptions toc;
  if (const int status = o.start(session, albumHost, toc, io.err)) return status;
  const CivilDate today = Today();
  CliAlbumDriver driver(session, albumHost, today);

  const int targets = CountBatchTargets(toc, driver, host);
  if (targets == 0) return 1;
  BatchJob job{toc, settings, main, driver, host, today};
  const BatchReport report = RunBatch(job, targets);
  if (report.outcome == BatchOutcome::Failed) return 1;
  if (report.outcome == BatchOutcome::Aborted) return kExitInterrupted;
  if (!report.allWritten()) return 1;
  if (!o.quiet) io.out << FolderBase(toc.tocFolder) + settings.htmlFileName << '\n';
  return 0;
}

}  // namespace

void AddBatchCommand(CLI::App& app, Io& io, int& exitCode) {
  auto o = std::make_shared<TocCliOptions>();
  CLI::App* cmd = app.add_subcommand("batch", "Make an album in every sub-folder with pictures, then the table of contents");
  o->add(*cmd);
  cmd->callback([o, &io, &exitCode] { exitCode = RunBatchCommand(*o, io); });
}

}  // namespace pictavo::cli
