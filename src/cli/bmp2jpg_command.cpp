// pictavo-cli bmp2jpg FOLDER: BMP files of a folder as JPEG files beside them.

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
  std::vector<std::string> names;
  if (o.files.empty()) {
    for (const auto& entry : ListFolderPictures(folder, ".bmp", io.err)) names.push_back(entry.name);
  } else {
    names = SplitList(o.files);
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
  cmd->add_option("--files", o->files, "Files to convert, comma-separated (default: every .bmp in name order)")
      ->type_name("NAME,...");
  cmd->add_flag("--yes", o->yes, "Overwrite existing JPEG files without asking (default: keep them)");
  cmd->callback([o, &io, &exitCode] { exitCode = RunBmp2Jpg(*o, io); });
}

}  // namespace pictavo::cli
