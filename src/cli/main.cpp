#include <iostream>

#include "cli_host.h"
#include "commands.h"

int main(int argc, char** argv) {
  pictavo::cli::InstallInterruptHandler();
  return pictavo::cli::RunCli(argc, argv, std::cout, std::cerr);
}
