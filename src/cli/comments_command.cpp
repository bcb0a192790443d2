// pictavo-cli comments show FOLDER: the records of PicComment.txt as the
// album run and the comment editor read them.
// pictavo-cli comments fill FOLDER: fills the comment lines of a folder's
// pictures as the comment editor's fill commands do, then saves the file.

#include <algorithm>
#include <map>
#include <ostream>

#include "cli_host.h"
#include "commands.h"
#include "comments/comment_file.h"
#include "platform/paths.h"
#include "comments/comment_editor.h"

namespace pictavo::cli {

namespace {

int RunShow(const std::string& folder, Io& io) {
  const std::string full = AbsolutePath(folder);
  if (!FolderExists(full)) {
    io.err << "pictavo-cli: no such folder: " << folder << '\n';
    return 2;
  }
  CommentFile file;
  if (const Status read = ReadCommentFile(full, file); !read.ok()) {
    io.err << "pictavo-cli: " << read.reason() << '\n';
    return 1;
  }
  for (const auto& r : file.records) io.out << r.FileName << '\t' << r.Comment1 << '\t' << r.Comment2 << '\n';
  if (file.truncated) {
    io.err << "pictavo-cli: only the first " << kMaxCommentRecords << " records are read\n";
  }
  return 0;
}

struct FillOptions {
  std::string folder;
  std::string what;
  bool noExtension = false;
  bool dimensions = false;
  std::string pictures;
};

const std::map<std::string, FillWhat>& FillChoices() {
  static const std::map<std::string, FillWhat> choices = {
      {"date", FillWhat::Date}, {"datetime", FillWhat::DateTime},  {"size", FillWhat::Size},
      {"name", FillWhat::Name}, {"name-date", FillWhat::NameDate}, {"name-size", FillWhat::NameSize}};
  return choices;
}

int RunFill(const FillOptions& o, Io& io) {
  const std::string folder = AbsolutePath(o.folder);
  if (!FolderExists(folder)) {
    io.err << "pictavo-cli: no such folder: " << o.folder << '\n';
    return 2;
  }
  const FillWhat what = FillChoices().at(o.what);
  CliHost host(io.err, false, false);
  CommentEditor editor(host);
  editor.openFolder(folder);
  editor.noExtension = o.noExtension;
  editor.addDimensions = o.dimensions;
  if (o.pictures.empty()) {
    if (!editor.fillAll(what)) return 1;
  } else {
    for (const auto& name : SplitList(o.pictures)) {
      const auto& files = editor.files();
      const auto it = std::find(files.begin(), files.end(), name);
      if (it == files.end()) {
        io.err << "pictavo-cli: not a .jpg file of the folder: " << name << '\n';
        return 2;
      }
      if (!editor.select(static_cast<int>(it - files.begin())) || !editor.fillSelected(what)) return 1;
    }
  }
  return editor.save() ? 0 : 1;
}

}  // namespace

void AddCommentsCommand(CLI::App& app, Io& io, int& exitCode) {
  CLI::App* cmd = app.add_subcommand("comments", "Read and fill comment files");
  cmd->require_subcommand(1);
  auto folder = std::make_shared<std::string>();
  CLI::App* show = cmd->add_subcommand(
      "show", "Print the records of the folder's PicComment.txt: name, comment 1, comment 2, tab-separated");
  show->add_option("FOLDER", *folder, "Picture folder")->required();
  show->callback([folder, &io, &exitCode] { exitCode = RunShow(*folder, io); });

  auto o = std::make_shared<FillOptions>();
  CLI::App* fill = cmd->add_subcommand("fill", "Fill the comment lines with dates, names or sizes and save");
  fill->add_option("FOLDER", o->folder, "Folder of JPEG pictures")->required();
  std::vector<std::string> names;
  for (const auto& [name, value] : FillChoices()) names.push_back(name);
  fill->add_option("--what", o->what, "What to write: date, datetime, size, name, name-date or name-size")
      ->required()
      ->check(CLI::IsMember(names));
  fill->add_flag("--no-extension", o->noExtension, "File names without their extension");
  fill->add_flag("--dimensions", o->dimensions, "Add the picture's width and height to the file size");
  fill->add_option("--pictures", o->pictures, "Pictures to fill, comma-separated (default: all)")
      ->type_name("NAME,...");
  fill->callback([o, &io, &exitCode] { exitCode = RunFill(*o, io); });
}

}  // namespace pictavo::cli
