// pictavo-cli bmp2jpg FOLDER: BMP files of a folder as JPEG files beside them.

#include <algorithm>

#include "cli_host.h"
#include "commands.h"
#include "platform/paths.h"
#include "tools/bmp_to_jpeg.h"

namespace pictavo::cli {

namespace {

struct Bmp2JpgOptions {
  std::string folder;
  int quality = kConversionDefaultQuality;
  std::string files;
  bool yes = false;
};

int RunBmp2Jpg(const Bmp2JpgOptions& o, Io& io) {
  const std::string folder = AbsolutePath(o.folder);
  if (!FolderExists(folder)) {
    io.err << "pictavo-cli: no such folder: " << o.folder << '\n';
    return 2;
  }
  // The window's list: the folder's ".bmp" files in name order; --files
  // selects entries of it, so they are converted in that order too.
  std::vector<std::string> names;
  const std::vector<std::string> wanted = SplitList(o.files);
  for (const auto& entry : ListFolderPictures(folder, ".bmp", io.err)) {
    if (wanted.empty() || std::find(wanted.begin(), wanted.end(), entry.name) != wanted.end()) {
      names.push_back(entry.name);
    }
  }
  for (const auto& name : wanted) {
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      io.err << "pictavo-cli: not a .bmp file of " << folder << ": " << name << '\n';
      return 2;
    }
  }
  CliHost host(io.err, o.yes, false);
  return ConvertBmpFiles(folder, names, o.quality, host) == ConversionOutcome::Done ? 0 : 1;
}

}  // namespace

void AddBmp2JpgCommand(CLI::App& app, Io& io, int& exitCode) {
  auto o = std::make_shared<Bmp2JpgOptions>();
  CLI::App* cmd = app.add_subcommand("bmp2jpg", "Convert BMP files to JPEG files beside them");
  cmd->add_option("FOLDER", o->folder, "Folder of BMP files")->required();
  cmd->add_option("--quality", o->quality, "JPEG quality, 70 to 100 (outside values are brought into range)")
      ->default_val(kConversionDefaultQuality);
  cmd->add_option("--files", o->files,
                  "BMP files to convert, comma-separated; converted in name order (default: every .bmp)")
      ->type_name("NAME,...");
  cmd->add_flag("--yes", o->yes, "Overwrite existing JPEG files without asking (default: keep them)");
  cmd->callback([o, &io, &exitCode] { exitCode = RunBmp2Jpg(*o, io); });
}

}  // namespace pictavo::cli
