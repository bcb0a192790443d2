#include <iostream>

#include "album/album_page.h"
#include "cli_host.h"
#include "cli_language.h"
#include "commands.h"
#include "message_table.h"
#include "platform/paths.h"
#include "version.h"

namespace pictavo::cli {

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    if (comma > start) out.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return out;
}

void SettingsOptions::add(CLI::App& cmd) {
  cmd.add_option("--home", home, "Program folder holding PCV.ini and inifile/ (default: $PICTAVO_HOME, else ~/.config/pictavo)")
      ->type_name("DIR");
  cmd.add_option("--settings", settingsFile, "Read this settings file at start instead of PCV.ini")->type_name("FILE");
  cmd.add_option("--load", loadFile, "Then load this settings file as the load command does")->type_name("FILE");
  cmd.add_option("--set", sets, "Override one settings field, e.g. --set thumbnailWidth=200")
      ->type_name("FIELD=VALUE");
}

int SettingsOptions::startUp(Session& session, CliHost& host, std::ostream& err) const {
  const StartUpReport report = StartUp(session, {home, settingsFile}, host);
  if (report.programFolderError) err << "pictavo-cli: " << RenderCliMessage(report.programFolderError->message) << '\n';
  if (report.settingsFileError) {
    err << "pictavo-cli: " << RenderCliMessage(report.settingsFileError->message) << '\n';
    return 2;
  }
  if (report.reading.problem) host.note(*report.reading.problem);
  return 0;
}

int SettingsOptions::applyAfterStart(Session& session, CliHost& host, std::ostream& err) const {
  SessionWindow window(session, host);
  if (!loadFile.empty()) {
    host.setOpenFile(AbsolutePath(loadFile));
    const SettingsLoadResult result = SettingsLoadCommand(session.settings, session.main, window);
    host.setOpenFile(std::nullopt);
    if (result == SettingsLoadResult::NotSettingsFile) {
      // The command refuses such a file silently; on the command line the
      // user asked for it by name, so say why nothing happened.
      host.note(Detail(loadFile + ": not a settings file; nothing was loaded"));
    }
    if (result != SettingsLoadResult::Loaded) return 1;
  }
  if (!apply(session.settings, err)) return 2;
  for (const auto& item : sets) {
    if (item.rfind("picturesPerRow=", 0) == 0) window.setPicturesPerRow(session.settings.picturesPerRow);
  }
  return 0;
}

int SettingsOptions::start(Session& session, CliHost& host, std::ostream& err) const {
  const int status = startUp(session, host, err);
  return status != 0 ? status : applyAfterStart(session, host, err);
}

bool SettingsOptions::apply(AlbumSettings& settings, std::ostream& err) const {
  for (const auto& item : sets) {
    const auto eq = item.find('=');
    if (eq == std::string::npos) {
      err << "pictavo-cli: --set needs FIELD=VALUE, got '" << item << "'\n";
      return false;
    }
    const std::string field = item.substr(0, eq), value = item.substr(eq + 1);
    switch (SetSettingText(settings, field, value)) {
      case SettingTextResult::Set: break;
      case SettingTextResult::UnknownField: err << "pictavo-cli: unknown settings field: " << field << '\n'; return false;
      case SettingTextResult::NotAnInteger:
        err << "pictavo-cli: '" << value << "' is not a valid integer for " << field << '\n';
        return false;
    }
  }
  return true;
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"Pictavo: static web albums from folders of JPEG photographs", "pictavo-cli"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("pictavo-cli ") + kProgramVersion);
  // Each run starts from the locale's language (tests call this in-process).
  SetCliLanguage(LanguageOfEnvironment());
  app.add_option_function<std::string>(
         "--lang", [](const std::string& name) { SetCliLanguage(*ParseInterfaceLanguage(name)); },
         "Language of the messages: ja or en (default: the locale's; Japanese for ja* and C/POSIX). "
         "What the command writes is the same in both")
      ->check(CLI::IsMember({"ja", "en"}))
      ->trigger_on_parse()
      ->type_name("LANG");
  // --lang may also follow the command's name.
  app.fallthrough();
  Io io{out, err};
  int exitCode = 0;
  AddAlbumCommand(app, io, exitCode);
  AddTocCommand(app, io, exitCode);
  AddBatchCommand(app, io, exitCode);
  AddBmp2JpgCommand(app, io, exitCode);
  AddRotateCommand(app, io, exitCode);
  AddSettingsCommand(app, io, exitCode);
  AddCommentsCommand(app, io, exitCode);
  AddCheckCommand(app, io, exitCode);
  AddPublishCommand(app, io, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version go to stdout with status 0; usage errors to stderr with 2.
    return app.exit(e, out, err) == 0 ? 0 : 2;
  }
  return exitCode;
}

}  // namespace pictavo::cli
