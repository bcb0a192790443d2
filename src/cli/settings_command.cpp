// pictavo-cli settings show|save: the settings record as the program reads
// it at start, and settings files written with the save command's rules.

#include <ostream>

#include "cli_host.h"
#include "commands.h"
#include "platform/paths.h"

namespace pictavo::cli {

namespace {

struct ShowOptions {
  std::string file;
  SettingsOptions settings;
};

struct SaveOptions {
  std::string file;
  SettingsOptions settings;
};

int RunShow(ShowOptions& o, Io& io) {
  if (!o.file.empty()) {
    if (!o.settings.settingsFile.empty()) {
      io.err << "pictavo-cli: give FILE or --settings, not both\n";
      return 2;
    }
    o.settings.settingsFile = o.file;
  }
  CliHost host(io.err, false, false);
  Session session;
  AlbumSettings& settings = session.settings;
  if (const int status = o.settings.start(session, host, io.err)) return status;
  for (const auto& field : SettingsFieldNames()) io.out << field << '=' << *GetSettingText(settings, field) << '\n';
  return 0;
}

int RunSave(SaveOptions& o, Io& io) {
  CliHost host(io.err, false, false);
  Session session;
  AlbumSettings& settings = session.settings;
  MainValues& main = session.main;
  if (const int status = o.settings.start(session, host, io.err)) return status;
  main.currentFolder = AbsolutePath(".");
  std::string written;
  const SettingsSaveResult result = SaveSettingsAs(AbsolutePath(o.file), settings, main, host, &written);
  if (result != SettingsSaveResult::Saved) return 1;
  io.out << written << '\n';
  return 0;
}

}  // namespace

void AddSettingsCommand(CLI::App& app, Io& io, int& exitCode) {
  CLI::App* cmd = app.add_subcommand("settings", "Show or write settings files");
  cmd->require_subcommand(1);

  auto show = std::make_shared<ShowOptions>();
  CLI::App* showCmd =
      cmd->add_subcommand("show", "Print the settings as read at start (or from FILE), one FIELD=VALUE a line");
  showCmd->add_option("FILE", show->file, "Read this file with the start-up rules instead of PCV.ini");
  show->settings.add(*showCmd);
  showCmd->callback([show, &io, &exitCode] { exitCode = RunShow(*show, io); });

  auto save = std::make_shared<SaveOptions>();
  CLI::App* saveCmd = cmd->add_subcommand("save", "Write a settings file as the save command does (.ini enforced)");
  saveCmd->add_option("FILE", save->file, "File to write")->required();
  save->settings.add(*saveCmd);
  saveCmd->callback([save, &io, &exitCode] { exitCode = RunSave(*save, io); });
}

}  // namespace pictavo::cli
