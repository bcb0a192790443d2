// pictavo-cli rotate FOLDER: turns pictures and saves them as the rotation
// window's Save does (backup into _backup when rotationBackup is "on").

#include <cstdlib>

#include "cli_host.h"
#include "commands.h"
#include "platform/paths.h"
#include "text/chars.h"
#include "tools/rotation.h"

namespace pictavo::cli {

namespace {

struct RotateOptions {
  std::string folder;
  bool right = false;
  bool left = false;
  std::string turns;
  int quality = 0;
  std::string pictures;
  bool yes = false;
  SettingsOptions settings;
};

int RunRotate(const RotateOptions& o, Io& io) {
  if (static_cast<int>(o.right) + static_cast<int>(o.left) + static_cast<int>(!o.turns.empty()) != 1) {
    io.err << "pictavo-cli: give exactly one of --right, --left and --turns\n";
    return 2;
  }
  const std::string folder = AbsolutePath(o.folder);
  if (!FolderExists(folder)) {
    io.err << "pictavo-cli: no such folder: " << o.folder << '\n';
    return 2;
  }
  CliHost host(io.err, o.yes, false);
  // The settings as the program has them: rotationQuality and rotationBackup.
  Session session;
  AlbumSettings& settings = session.settings;
  if (const int status = o.settings.start(session, host, io.err)) return status;
  std::vector<PictureEntry> list = PictureSelection(folder, o.pictures, io.err);
  std::vector<int> turns;
  for (const auto& item : SplitList(o.turns)) {
    const auto n = ParseDecimal(item);
    if (!n) {
      io.err << "pictavo-cli: --turns takes whole numbers, not '" << item << "'\n";
      return 2;
    }
    turns.push_back(*n % 4);
  }

  RotationWalk walk(host, settings);
  if (o.quality != 0) walk.quality = o.quality;
  if (!walk.openList(folder, list)) return 1;
  size_t walked = 0;
  for (const auto& entry : list) walked += entry.selected ? 1 : 0;
  if (!turns.empty() && turns.size() != walked) {
    io.err << "pictavo-cli: --turns lists " << turns.size() << " turns for " << walked << " pictures\n";
    walk.finish();
    return 2;
  }
  bool failed = false;
  for (size_t k = 0; walk.controls().windowOpen; ++k) {
    const int n = turns.empty() ? (o.right ? 1 : -1) : turns[k];
    if (n == 0 || walk.picture().empty()) {  // skipped, or could not be decoded
      failed = failed || walk.picture().empty();
      walk.next();
      continue;
    }
    for (int i = 0; i < std::abs(n); ++i) n > 0 ? walk.rotateRight() : walk.rotateLeft();
    const std::string name = walk.currentName();
    const SaveOutcome saved = walk.save();
    if (saved == SaveOutcome::Saved) {
      io.out << FolderBase(folder) + name << '\n';
      continue;
    }
    if (saved != SaveOutcome::Declined) return 1;  // a write or backup failure ends the command
    walk.next();  // No to the read-only question: the picture stays as it is
  }
  return failed ? 1 : 0;
}

}  // namespace

void AddRotateCommand(CLI::App& app, Io& io, int& exitCode) {
  auto o = std::make_shared<RotateOptions>();
  CLI::App* cmd = app.add_subcommand("rotate", "Turn JPEG pictures by 90 degrees and save them over their files");
  cmd->add_option("FOLDER", o->folder, "Folder of JPEG pictures")->required();
  cmd->add_flag("--right", o->right, "Turn every picture 90 degrees clockwise");
  cmd->add_flag("--left", o->left, "Turn every picture 90 degrees counter-clockwise");
  cmd->add_option("--turns", o->turns,
                  "Quarter turns per picture in walk order: N > 0 right, N < 0 left, 0 skip (e.g. 1,0,-1,2)")
      ->type_name("LIST");
  cmd->add_option("--quality", o->quality, "JPEG quality, 50 to 100 (default: rotationQuality)")
      ->check(CLI::Range(50, 100));
  cmd->add_option("--pictures", o->pictures, "Pictures to walk, comma-separated (default: every .jpg)")
      ->type_name("NAME,...");
  o->settings.add(*cmd);
  cmd->add_flag("--yes", o->yes, "Overwrite read-only pictures without asking (default: skip them)");
  cmd->callback([o, &io, &exitCode] { exitCode = RunRotate(*o, io); });
}

}  // namespace pictavo::cli
