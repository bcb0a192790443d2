#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "platform/command_host.h"

extern char** environ;

namespace pictavo {

namespace {

// Double fork so the started program is not our child and leaves no zombie.
// The argument array is built before forking: a child of a threaded program
// may only make async-signal-safe calls, and allocating is not one.
void SpawnDetached(const std::vector<std::string>& argv, const std::string& folder) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return;
  if (pid == 0) {
    ::setsid();
    if (::fork() != 0) ::_exit(0);
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
      // Start in the current folder rather than not at all.
    }
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
}

}  // namespace

void OpenWithProgram(const std::string& program, const std::string& document, const std::string& folder) {
  if (program.empty()) return;
  SpawnDetached({program, document}, folder);
}

void OpenWithAssociatedProgram(const std::string& path) { SpawnDetached({"xdg-open", path}, ""); }

void CommandHost::openWithProgram(const std::string& program, const std::string& document,
                                  const std::string& folder) {
  OpenWithProgram(program, document, folder);
}

void CommandHost::openWithAssociatedProgram(const std::string& path) { OpenWithAssociatedProgram(path); }

}  // namespace pictavo
