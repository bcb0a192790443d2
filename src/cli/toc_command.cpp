// pictavo-cli toc FOLDER: the table of contents over the albums in the sub-folders.

#include <unistd.h>

#include <iostream>

#include "platform/paths.h"
#include "toc_support.h"

namespace pictavo::cli {

namespace {

int RunToc(const TocCliOptions& o, Io& io) {
  CliHost cli(io.err, false, !o.quiet && ::isatty(STDERR_FILENO) && &io.err == &std::cerr);
  cli.setAnswer(msg::kBrowserQuestion, o.open);
  Session session;
  AlbumSettings& settings = session.settings;
  MainValues& main = session.main;
  TocOptions toc;
  if (const int status = o.start(session, cli, toc, io.err)) return status;
  CliBatchHost host(cli, o.quiet);
  if (MakeTableOfContents(toc, settings, main, host, Today()) != TocOutcome::Written) return 1;
  if (!o.quiet) io.out << FolderBase(toc.tocFolder) + settings.htmlFileName << '\n';
  return 0;
}

}  // namespace

void AddTocCommand(CLI::App& app, Io& io, int& exitCode) {
  auto o = std::make_shared<TocCliOptions>();
  CLI::App* cmd = app.add_subcommand("toc", "Make a table-of-contents page over the albums in a folder's sub-folders");
  o->add(*cmd);
  cmd->callback([o, &io, &exitCode] { exitCode = RunToc(*o, io); });
}

}  // namespace pictavo::cli
