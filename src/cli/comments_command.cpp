// pictavo-cli comments fill FOLDER: fills the comment lines of a folder's
// pictures as the comment editor's fill commands do, then saves the file.

#include <algorithm>
#include <map>

#include "cli_host.h"
#include "commands.h"
#include "platform/paths.h"
#include "tools/comment_editor.h"

namespace pictavo::cli {

namespace {

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
  CLI::App* comments = app.add_subcommand("comments", "Work on a folder's comment file PicComment.txt");
  comments->require_subcommand(1);
  auto o = std::make_shared<FillOptions>();
  CLI::App* fill = comments->add_subcommand("fill", "Fill the comment lines with dates, names or sizes and save");
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
