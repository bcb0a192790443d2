#include "cli_fixtures.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <sstream>

#include "commands.h"

extern char** environ;

namespace pictavo {

CliResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "pictavo-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int status = cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

int StartCli(const std::vector<std::string>& args, const std::string& home) {
  std::vector<std::string> all = {PICTAVO_CLI_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The program folder of the test, for every command alike.
  std::string homeVar = "PICTAVO_HOME=" + home;
  std::vector<char*> env;
  for (char** e = environ; *e; ++e) {
    if (home.empty() || std::string(*e).rfind("PICTAVO_HOME=", 0) != 0) env.push_back(*e);
  }
  if (!home.empty()) env.push_back(homeVar.data());
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int WaitCli(int pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

}  // namespace pictavo
