// pictavo-cli comments show FOLDER: the records of PicComment.txt as the
// album run and the comment editor read them.

#include <ostream>

#include "cli_host.h"
#include "commands.h"
#include "mainwin/comment_file.h"
#include "platform/paths.h"

namespace pictavo::cli {

namespace {

int RunShow(const std::string& folder, Io& io) {
  const std::string full = AbsolutePath(folder);
  if (!FolderExists(full)) {
    io.err << "pictavo-cli: no such folder: " << folder << '\n';
    return 2;
  }
  CommentFile file;
  std::string error;
  if (!ReadCommentFile(full, file, error)) {
    io.err << "pictavo-cli: " << error << '\n';
    return 1;
  }
  for (const auto& r : file.records) io.out << r.FileName << '\t' << r.Comment1 << '\t' << r.Comment2 << '\n';
  if (file.truncated) {
    io.err << "pictavo-cli: only the first " << kMaxCommentRecords << " records are read\n";
  }
  return 0;
}

}  // namespace

void AddCommentsCommand(CLI::App& app, Io& io, int& exitCode) {
  CLI::App* cmd = app.add_subcommand("comments", "Read comment files");
  cmd->require_subcommand(1);
  auto folder = std::make_shared<std::string>();
  CLI::App* show = cmd->add_subcommand(
      "show", "Print the records of the folder's PicComment.txt: name, comment 1, comment 2, tab-separated");
  show->add_option("FOLDER", *folder, "Picture folder")->required();
  show->callback([folder, &io, &exitCode] { exitCode = RunShow(*folder, io); });
}

}  // namespace pictavo::cli
