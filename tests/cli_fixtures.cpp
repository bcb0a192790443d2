#include "cli_fixtures.h"

#include <sstream>

#include "commands.h"

namespace pictavo {

CliResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "pictavo-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int status = cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

}  // namespace pictavo
