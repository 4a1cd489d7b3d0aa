// tessaro-cli: the recorder line from a shell.

#include <iostream>
#include <string>
#include <vector>

#include "cli/CliMain.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return tessaro::RunCli(args, std::cout, std::cerr);
}
