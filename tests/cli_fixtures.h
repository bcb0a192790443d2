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

}  // namespace pictavo
