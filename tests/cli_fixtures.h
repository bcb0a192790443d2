#pragma once
// pictavo-cli run in-process, for the command-line tests.

#include <string>
#include <vector>

namespace pictavo {

struct CliResult {
  int status;
  std::string out;
  std::string err;
};
// Runs the command line with the given arguments (without the program name).
CliResult Cli(std::vector<std::string> args);

// Starts pictavo-cli as a child process with its output discarded and
// PICTAVO_HOME set to `home` (left as it is when empty); WaitCli gives its
// wait status.
int StartCli(const std::vector<std::string>& args, const std::string& home = "");
int WaitCli(int pid);

}  // namespace pictavo
